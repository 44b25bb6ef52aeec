#include "engine/read/heif_header.h"

#include <cstring>
#include <vector>

namespace brindle {
namespace {

std::uint32_t Big16(const std::uint8_t* p) { return (std::uint32_t(p[0]) << 8) | p[1]; }
std::uint32_t Big32(const std::uint8_t* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
         p[3];
}

// One box inside a parent's bytes: its type and its payload (after the size and type).
struct Box {
  char type[4] = {};
  std::span<const std::uint8_t> payload;
  bool is(const char* name) const { return std::memcmp(type, name, 4) == 0; }
};

// The boxes laid one after the other in bytes; a box that claims more than is there ends the list.
std::vector<Box> BoxesIn(std::span<const std::uint8_t> bytes) {
  std::vector<Box> boxes;
  std::size_t at = 0;
  while (bytes.size() - at >= 8) {
    std::uint64_t size = Big32(bytes.data() + at);
    std::size_t header = 8;
    if (size == 1) {
      if (bytes.size() - at < 16) break;
      size = (std::uint64_t(Big32(bytes.data() + at + 8)) << 32) | Big32(bytes.data() + at + 12);
      header = 16;
    } else if (size == 0) {
      size = bytes.size() - at;
    }
    if (size < header || size > bytes.size() - at) break;
    Box box;
    std::memcpy(box.type, bytes.data() + at + 4, 4);
    box.payload = bytes.subspan(at + header, static_cast<std::size_t>(size) - header);
    boxes.push_back(box);
    at += static_cast<std::size_t>(size);
  }
  return boxes;
}

const Box* Find(const std::vector<Box>& boxes, const char* type) {
  for (const Box& box : boxes) {
    if (box.is(type)) return &box;
  }
  return nullptr;
}

// The primary item's number from "pitm" (a full box: version 0 has 16-bit numbers, later 32-bit).
std::optional<std::uint32_t> PrimaryItem(const Box& pitm) {
  const auto& p = pitm.payload;
  if (p.size() < 4) return std::nullopt;
  if (p[0] == 0) return p.size() >= 6 ? std::optional(Big16(p.data() + 4)) : std::nullopt;
  return p.size() >= 8 ? std::optional(Big32(p.data() + 4)) : std::nullopt;
}

// The 1-based property numbers "ipma" associates with item.
std::vector<std::uint32_t> PropertiesOf(const Box& ipma, std::uint32_t item) {
  std::vector<std::uint32_t> found;
  const auto& p = ipma.payload;
  if (p.size() < 8) return found;
  const std::uint8_t version = p[0];
  const bool wide_index = (p[3] & 1) != 0;
  const std::uint32_t entries = Big32(p.data() + 4);
  std::size_t at = 8;
  for (std::uint32_t e = 0; e < entries; ++e) {
    const std::size_t id_size = version < 1 ? 2 : 4;
    if (p.size() - at < id_size + 1) break;
    const std::uint32_t id = version < 1 ? Big16(p.data() + at) : Big32(p.data() + at);
    at += id_size;
    const std::uint32_t count = p[at++];
    const std::size_t index_size = wide_index ? 2 : 1;
    if (p.size() - at < count * index_size) break;
    for (std::uint32_t a = 0; a < count; ++a) {
      const std::uint32_t index =
          wide_index ? Big16(p.data() + at) & 0x7FFF : std::uint32_t(p[at] & 0x7F);
      at += index_size;
      if (id == item) found.push_back(index);
    }
    if (id == item) break;
  }
  return found;
}

}  // namespace

std::optional<HeifSides> HeifSidesFromMeta(std::span<const std::uint8_t> meta) {
  const std::vector<Box> boxes = BoxesIn(meta);
  const Box* pitm = Find(boxes, "pitm");
  const Box* iprp = Find(boxes, "iprp");
  if (!pitm || !iprp) return std::nullopt;
  const std::optional<std::uint32_t> primary = PrimaryItem(*pitm);
  if (!primary) return std::nullopt;
  const std::vector<Box> property_boxes = BoxesIn(iprp->payload);
  const Box* ipco = Find(property_boxes, "ipco");
  if (!ipco) return std::nullopt;
  const std::vector<Box> properties = BoxesIn(ipco->payload);

  std::optional<HeifSides> sides;
  bool quarter_turn = false;
  for (const Box& ipma : property_boxes) {
    if (!ipma.is("ipma")) continue;
    for (std::uint32_t index : PropertiesOf(ipma, *primary)) {
      if (index == 0 || index > properties.size()) continue;
      const Box& property = properties[index - 1];
      if (property.is("ispe") && property.payload.size() >= 12) {
        sides = HeifSides{Big32(property.payload.data() + 4), Big32(property.payload.data() + 8)};
      } else if (property.is("irot") && !property.payload.empty()) {
        quarter_turn = (property.payload[0] & 1) != 0;  // 90 or 270 degrees
      }
    }
  }
  if (sides && quarter_turn) std::swap(sides->width, sides->height);
  return sides;
}

std::optional<HeifSides> ReadHeifSides(BufferedFileReader& reader) {
  if (!reader.Seek(0)) return std::nullopt;
  std::uint8_t header[16];
  while (reader.Read(header, 8)) {
    std::uint64_t size = Big32(header);
    std::uint64_t header_size = 8;
    if (size == 1) {
      if (!reader.Read(header + 8, 8)) return std::nullopt;
      size = (std::uint64_t(Big32(header + 8)) << 32) | Big32(header + 12);
      header_size = 16;
    } else if (size == 0) {
      size = header_size + reader.remaining();
    }
    if (size < header_size) return std::nullopt;
    const std::uint64_t payload = size - header_size;
    if (std::memcmp(header + 4, "meta", 4) != 0) {
      if (!reader.Skip(payload)) return std::nullopt;
      continue;
    }
    // "meta" is a full box: its version and flags come before the boxes inside it.
    if (payload < 4 || payload > kLongestHeifMetaBox) return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(payload));
    if (!reader.Read(bytes.data(), bytes.size())) return std::nullopt;
    return HeifSidesFromMeta(std::span<const std::uint8_t>(bytes).subspan(4));
  }
  return std::nullopt;
}

}  // namespace brindle
