// The picture loader of the headless services: it tells a picture by its first bytes.
#pragma once

#include <string>

#include "platform/file_system.h"
#include "platform/picture.h"

namespace quelo {

// Knows picture files by their first bytes: BMP/DIB, GIF, JPEG, PNG, ICO/CUR, TIFF, WMF, EMF,
// PCX and XBM.
class SniffingPictureLoader : public PictureLoader {
 public:
  explicit SniffingPictureLoader(FileSystem& files) : files_(files) {}
  bool isPicture(const std::string& path) override;

 private:
  FileSystem& files_;
};

}  // namespace quelo
