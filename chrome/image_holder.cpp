#include "chrome/image_holder.h"

#include <QtGlobal>

static void InitShadowResources() { Q_INIT_RESOURCE(shadow_images); }

namespace corvale::chrome {

void StartImageSupport() {
  // The shadow images live in a resource of this static library, which Qt cannot find before
  // it is registered.
  InitShadowResources();
}

void ImageHolder::Release() {
  image_.reset();
  width_ = height_ = 0;
}

bool ImageHolder::LoadFromBytes(const void* bytes, std::size_t count) {
  Release();
  if (count <= 4) return false;
  QImage image;
  if (!image.loadFromData(static_cast<const uchar*>(bytes), int(count))) return false;
  image_ = std::move(image);
  return true;
}

void ImageHolder::GetSize(int& width, int& height) {
  if (image_ && width_ == 0) {
    width_ = image_->width();
    height_ = image_->height();
    if (width_ == 0 || height_ == 0) Release();
  }
  width = width_;
  height = height_;
}

int ImageHolder::Width() {
  int w = 0, h = 0;
  GetSize(w, h);
  return w;
}

int ImageHolder::Height() {
  int w = 0, h = 0;
  GetSize(w, h);
  return h;
}

}  // namespace corvale::chrome
