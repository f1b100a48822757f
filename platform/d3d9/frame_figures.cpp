#include "platform/d3d9/frame_figures.h"

#include <algorithm>
#include <vector>

void KvFrameFigures::EndFrame(Clock::time_point now) {
  lastDraws_ = draws_;
  lastQuads_ = quads_;
  draws_ = 0;
  quads_ = 0;
  presents_.push_back(now);
  // Keeps the presents of the last second and the one before them, which starts its first
  // frame interval.
  while (presents_.size() > 2 && now - presents_[1] > std::chrono::seconds(1)) {
    presents_.pop_front();
  }
}

double KvFrameFigures::MedianFrameMilliseconds() const {
  if (presents_.size() < 2) return 0;
  std::vector<double> intervals;
  for (std::size_t i = 1; i < presents_.size(); ++i) {
    intervals.push_back(
        std::chrono::duration<double, std::milli>(presents_[i] - presents_[i - 1]).count());
  }
  std::nth_element(intervals.begin(), intervals.begin() + intervals.size() / 2, intervals.end());
  return intervals[intervals.size() / 2];
}
