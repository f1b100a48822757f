// Merges the meshes of a parsed .x file into one triangle mesh.
#pragma once

#include <string>

#include "platform/xfile/parser.h"
#include "platform/xfile/reader.h"

// Applies each mesh's accumulated frame transform, splits vertices whose corners have different
// normals, splits polygons as fans and numbers materials across meshes. Fails when the result
// has no triangle.
bool KvBuildXMesh(const KvXScene& scene, KvXMeshData& out, std::string& error);
