// ImageHolder: an image file held in memory (PNG bytes embedded in the program) turned into a
// QImage, with its size cached.
#pragma once

#include <QImage>
#include <cstddef>
#include <optional>

namespace corvale::chrome {

class ImageHolder {
 public:
  void Release();
  // Loads an image file from memory; 4 bytes or fewer are refused untouched.
  bool LoadFromBytes(const void* bytes, std::size_t count);
  int Width();
  int Height();
  // Reads the size on first use; an image that reads as 0 wide or high is released.
  void GetSize(int& width, int& height);
  // The image, or nothing.
  const QImage* Handle() const { return image_ ? &*image_ : nullptr; }

 private:
  std::optional<QImage> image_;
  int width_ = 0;
  int height_ = 0;
};

// Makes the embedded images available; runs once at start-up before any window.
void StartImageSupport();

}  // namespace corvale::chrome
