#include "engine/read/heif_thumbnail.h"

#include <libheif/heif.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/read/picture_classify.h"
#include "platform/files/file_write.h"

namespace brindle {
namespace {

struct ContextFree {
  void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
  void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
  void operator()(heif_image* image) const { heif_image_release(image); }
};

}  // namespace

std::optional<Pixels8> HeifEmbeddedThumbnail(const std::filesystem::path& path, int min_side) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return std::nullopt;
  return HeifEmbeddedThumbnail(bytes, min_side);
}

std::optional<Pixels8> HeifEmbeddedThumbnail(const std::string& bytes, int min_side) {
  const PictureClass container =
      ClassifyContainer(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                        std::min(bytes.size(), kClassifyHeadBytes));
  if (container != PictureClass::kHeif && container != PictureClass::kAvif) return std::nullopt;

  std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
  if (!context ||
      heif_context_read_from_memory_without_copy(context.get(), bytes.data(), bytes.size(),
                                                 nullptr)
              .code != heif_error_Ok) {
    return std::nullopt;
  }
  heif_image_handle* primary_raw = nullptr;
  if (heif_context_get_primary_image_handle(context.get(), &primary_raw).code != heif_error_Ok) {
    return std::nullopt;
  }
  std::unique_ptr<heif_image_handle, HandleRelease> primary(primary_raw);

  const int count = heif_image_handle_get_number_of_thumbnails(primary.get());
  if (count <= 0) return std::nullopt;
  std::vector<heif_item_id> ids(static_cast<std::size_t>(count));
  heif_image_handle_get_list_of_thumbnail_IDs(primary.get(), ids.data(), count);
  std::unique_ptr<heif_image_handle, HandleRelease> best;
  long long best_area = 0;
  for (heif_item_id id : ids) {
    heif_image_handle* raw = nullptr;
    if (heif_image_handle_get_thumbnail(primary.get(), id, &raw).code != heif_error_Ok) continue;
    std::unique_ptr<heif_image_handle, HandleRelease> thumbnail(raw);
    const long long area = static_cast<long long>(heif_image_handle_get_width(raw)) *
                           heif_image_handle_get_height(raw);
    if (area > best_area) {
      best_area = area;
      best = std::move(thumbnail);
    }
  }
  if (!best || std::max(heif_image_handle_get_width(best.get()),
                        heif_image_handle_get_height(best.get())) < min_side) {
    return std::nullopt;
  }

  heif_image* decoded_raw = nullptr;
  if (heif_decode_image(best.get(), &decoded_raw, heif_colorspace_RGB,
                        heif_chroma_interleaved_RGB, nullptr)
          .code != heif_error_Ok) {
    return std::nullopt;
  }
  std::unique_ptr<heif_image, ImageRelease> decoded(decoded_raw);
  int stride = 0;
  const std::uint8_t* plane =
      heif_image_get_plane_readonly(decoded.get(), heif_channel_interleaved, &stride);
  const int width = heif_image_get_width(decoded.get(), heif_channel_interleaved);
  const int height = heif_image_get_height(decoded.get(), heif_channel_interleaved);
  if (!plane || width <= 0 || height <= 0 || stride < width * 3) return std::nullopt;
  Pixels8 pixels;
  pixels.width = width;
  pixels.height = height;
  pixels.channels = 3;
  pixels.samples.resize(static_cast<std::size_t>(width) * height * 3);
  for (int row = 0; row < height; ++row) {
    std::memcpy(pixels.samples.data() + static_cast<std::size_t>(row) * width * 3,
                plane + static_cast<std::size_t>(row) * stride, static_cast<std::size_t>(width) * 3);
  }
  return pixels;
}

}  // namespace brindle
