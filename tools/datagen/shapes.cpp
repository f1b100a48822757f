#include "shapes.h"

namespace datagen {

void AddLathe(Mesh& mesh, Vec3 centre, const std::vector<ProfilePoint>& profile, int slices,
              std::uint32_t material, double uRepeats, double vScale) {
  double along = 0;
  for (std::size_t s = 0; s + 1 < profile.size(); ++s) {
    ProfilePoint p = profile[s], q = profile[s + 1];
    double length = std::sqrt((q.r - p.r) * (q.r - p.r) + (q.y - p.y) * (q.y - p.y));
    std::uint32_t first = static_cast<std::uint32_t>(mesh.vertices.size());
    for (int k = 0; k <= slices; ++k) {
      double a = 2.0 * kPi * k / slices;
      double c = Cos(a), sn = Sin(a);
      double u = uRepeats * k / slices;
      mesh.AddVertex(centre + Vec3{p.r * c, p.y, p.r * sn}, u, along * vScale);
      mesh.AddVertex(centre + Vec3{q.r * c, q.y, q.r * sn}, u, (along + length) * vScale);
    }
    along += length;
    double nr = q.y - p.y, ny = p.r - q.r;
    for (int k = 0; k < slices; ++k) {
      double a = 2.0 * kPi * (k + 0.5) / slices;
      Vec3 outward{nr * Cos(a), ny, nr * Sin(a)};
      std::uint32_t p0 = first + 2 * k, q0 = p0 + 1, p1 = p0 + 2, q1 = p0 + 3;
      // A ring of radius zero collapses to a point: one triangle per slice there.
      if (p.r > 0) mesh.AddFacing(p0, p1, q1, outward, material);
      if (q.r > 0) mesh.AddFacing(p0, q1, q0, outward, material);
    }
  }
}

Vec3 SphereDirection(double angle, double latitude) {
  double c = Cos(latitude);
  return {c * Sin(angle), Sin(latitude), -c * Cos(angle)};
}

std::uint32_t AddBlob(Mesh& mesh, const Blob& blob, std::uint32_t material) {
  auto place = [&](Vec3 d) {
    Vec3 local = blob.axisX * d.x + blob.axisY * d.y + blob.axisZ * d.z;
    return blob.centre + local * blob.radius(d);
  };
  std::uint32_t first = static_cast<std::uint32_t>(mesh.vertices.size());
  std::uint32_t top = mesh.AddVertex(place({0, 1, 0}), 0.5 * blob.uRepeats, 0);
  std::uint32_t bottom = mesh.AddVertex(place({0, -1, 0}), 0.5 * blob.uRepeats, blob.vRepeats);
  for (int r = 1; r < blob.rings; ++r) {
    double latitude = kPi / 2 - kPi * blob.ringWarp(static_cast<double>(r) / blob.rings);
    for (int k = 0; k <= blob.slices; ++k) {
      double angle = blob.warp(-kPi + 2.0 * kPi * k / blob.slices);
      mesh.AddVertex(place(SphereDirection(angle, latitude)), blob.uRepeats * k / blob.slices,
                     blob.vRepeats * r / blob.rings);
    }
  }
  auto at = [&](int r, int k) { return first + 2 + (r - 1) * (blob.slices + 1) + k; };
  auto outward = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    return (mesh.vertices[a].position + mesh.vertices[b].position + mesh.vertices[c].position) *
               (1.0 / 3.0) -
           blob.centre;
  };
  auto add = [&](std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    mesh.AddFacing(a, b, c, outward(a, b, c), material);
  };
  int last = blob.rings - 1;
  for (int k = 0; k < blob.slices; ++k) {
    add(top, at(1, k), at(1, k + 1));
    add(bottom, at(last, k + 1), at(last, k));
    for (int r = 1; r < last; ++r) {
      add(at(r, k), at(r, k + 1), at(r + 1, k + 1));
      add(at(r, k), at(r + 1, k + 1), at(r + 1, k));
    }
  }
  return first;
}

}  // namespace datagen
