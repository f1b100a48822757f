// What the frames cost, for the figures overlay: the draws and particle quads issued to
// OpenGL in the last frame, and the frame rate and median frame time over the last second,
// measured from one Present to the next.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>

class KvFrameFigures {
 public:
  using Clock = std::chrono::steady_clock;

  void CountDraw(std::size_t quads) {
    ++draws_;
    quads_ += quads;
  }
  // A frame was presented at `now`: this frame's counts become the last frame's.
  void EndFrame(Clock::time_point now);

  std::size_t Draws() const { return lastDraws_; }
  std::size_t Quads() const { return lastQuads_; }
  // Frames presented within the last second.
  std::size_t FramesPerSecond() const { return presents_.empty() ? 0 : presents_.size() - 1; }
  double MedianFrameMilliseconds() const;

 private:
  std::deque<Clock::time_point> presents_;  // the last second's, and the one before them
  std::size_t draws_ = 0;
  std::size_t quads_ = 0;
  std::size_t lastDraws_ = 0;
  std::size_t lastQuads_ = 0;
};
