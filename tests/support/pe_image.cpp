#include "pe_image.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace pe {

template <typename T>
T Image::read(std::size_t offset) const {
  T value{};
  if (offset + sizeof(T) <= bytes_.size()) std::memcpy(&value, bytes_.data() + offset, sizeof(T));
  return value;
}

std::optional<Image> Image::load(const std::wstring& path) {
  std::ifstream file(std::filesystem::path(path), std::ios::binary);
  if (!file) return std::nullopt;
  Image image;
  image.bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  if (!image.parse()) return std::nullopt;
  return image;
}

bool Image::parse() {
  if (read<std::uint16_t>(0) != 0x5A4D) return false;  // "MZ"
  const auto peOffset = read<std::uint32_t>(0x3C);
  if (read<std::uint32_t>(peOffset) != 0x00004550) return false;  // "PE\0\0"
  const std::size_t fileHeader = peOffset + 4;
  machine_ = read<std::uint16_t>(fileHeader);
  const auto sectionCount = read<std::uint16_t>(fileHeader + 2);
  const auto optionalSize = read<std::uint16_t>(fileHeader + 16);
  const std::size_t optional = fileHeader + 20;
  magic_ = read<std::uint16_t>(optional);
  if (magic_ != 0x20B) return false;
  osVersion_ = read<std::uint16_t>(optional + 40) * 100u + read<std::uint16_t>(optional + 42);
  subsystemVersion_ =
      read<std::uint16_t>(optional + 48) * 100u + read<std::uint16_t>(optional + 50);
  sizeOfImage_ = read<std::uint32_t>(optional + 56);
  subsystem_ = read<std::uint16_t>(optional + 68);
  dllCharacteristics_ = read<std::uint16_t>(optional + 70);
  const std::size_t directories = optional + 112;

  const std::size_t sectionTable = optional + optionalSize;
  for (std::size_t i = 0; i < sectionCount; ++i) {
    const std::size_t at = sectionTable + i * 40;
    Section section;
    char name[9] = {};
    std::memcpy(name, bytes_.data() + at, 8);
    section.name = name;
    section.virtualSize = read<std::uint32_t>(at + 8);
    section.virtualAddress = read<std::uint32_t>(at + 12);
    section.rawSize = read<std::uint32_t>(at + 16);
    section.rawOffset = read<std::uint32_t>(at + 20);
    section.characteristics = read<std::uint32_t>(at + 36);
    sections_.push_back(section);
  }

  // Imports: one 20-byte descriptor per DLL, ended by an all-zero one.
  if (const auto imports = fileOffsetOf(read<std::uint32_t>(directories + 8))) {
    for (std::size_t at = *imports; read<std::uint32_t>(at + 12) != 0; at += 20) {
      if (const auto name = fileOffsetOf(read<std::uint32_t>(at + 12))) {
        importedDlls_.emplace_back(reinterpret_cast<const char*>(bytes_.data() + *name));
      }
    }
  }

  if (const auto resources = fileOffsetOf(read<std::uint32_t>(directories + 16))) {
    readResourceDirectory(*resources, 0, 0, Resource{});
  }
  return true;
}

std::optional<std::uint32_t> Image::fileOffsetOf(std::uint32_t rva) const {
  if (rva == 0) return std::nullopt;
  for (const Section& section : sections_) {
    if (rva >= section.virtualAddress && rva < section.virtualAddress + section.rawSize) {
      return rva - section.virtualAddress + section.rawOffset;
    }
  }
  return std::nullopt;
}

// Levels: 0 type, 1 name, 2 language, then the data entry.
void Image::readResourceDirectory(std::uint32_t base, std::uint32_t offset, int level,
                                  Resource path) {
  const std::size_t directory = base + offset;
  const std::size_t count =
      read<std::uint16_t>(directory + 12) + std::size_t{read<std::uint16_t>(directory + 14)};
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = directory + 16 + i * 8;
    const auto nameField = read<std::uint32_t>(entry);
    const auto target = read<std::uint32_t>(entry + 4);
    Resource next = path;
    const bool named = (nameField & 0x80000000u) != 0;
    const std::uint32_t id = named ? 0 : nameField;
    if (level == 0) next.type = id;
    if (level == 1) next.id = id;
    if (level == 2) next.language = id;
    next.named = next.named || named;
    if ((target & 0x80000000u) != 0) {
      if (level < 2) readResourceDirectory(base, target & 0x7FFFFFFFu, level + 1, next);
      continue;
    }
    const std::size_t dataEntry = base + target;
    if (const auto data = fileOffsetOf(read<std::uint32_t>(dataEntry))) {
      const auto size = read<std::uint32_t>(dataEntry + 4);
      if (*data + size <= bytes_.size()) {
        next.data.assign(bytes_.begin() + *data, bytes_.begin() + *data + size);
      }
    }
    resources_.push_back(std::move(next));
  }
}

const Resource* Image::findResource(std::uint32_t type, std::uint32_t id) const {
  for (const Resource& resource : resources_) {
    if (resource.type == type && resource.id == id && !resource.named) return &resource;
  }
  return nullptr;
}

namespace {

std::uint16_t word(const std::vector<std::uint8_t>& data, std::size_t at) {
  return at + 2 <= data.size() ? static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8)) : 0;
}

std::size_t aligned(std::size_t offset) { return (offset + 3) & ~std::size_t{3}; }

// One node at `at` (already aligned); gives the offset just past it.
std::size_t parseNode(const std::vector<std::uint8_t>& data, std::size_t at, VersionNode& node) {
  const std::size_t length = word(data, at);
  const std::size_t valueLength = word(data, at + 2);
  node.isText = word(data, at + 4) == 1;
  const std::size_t end = at + length;
  if (length < 6 || end > data.size()) return data.size();
  std::size_t cursor = at + 6;
  while (cursor + 2 <= end && word(data, cursor) != 0) {
    node.key.push_back(static_cast<char16_t>(word(data, cursor)));
    cursor += 2;
  }
  cursor = aligned(cursor + 2);
  const std::size_t valueBytes = node.isText ? valueLength * 2 : valueLength;
  if (cursor + valueBytes <= end) {
    node.value.assign(data.begin() + cursor, data.begin() + cursor + valueBytes);
  }
  cursor = aligned(cursor + valueBytes);
  while (cursor < end) {
    VersionNode child;
    const std::size_t next = parseNode(data, cursor, child);
    if (next <= cursor) break;
    node.children.push_back(std::move(child));
    cursor = aligned(next);
  }
  return end;
}

}  // namespace

std::optional<VersionNode> parseVersionBlock(const std::vector<std::uint8_t>& data) {
  VersionNode root;
  if (data.size() < 6 || parseNode(data, 0, root) > data.size()) return std::nullopt;
  return root;
}

std::u16string VersionNode::text() const {
  std::u16string result;
  for (std::size_t at = 0; at + 1 < value.size(); at += 2) {
    const auto unit = static_cast<char16_t>(value[at] | (value[at + 1] << 8));
    if (unit == 0) break;
    result.push_back(unit);
  }
  return result;
}

const VersionNode* VersionNode::child(const std::u16string& childKey) const {
  for (const VersionNode& node : children) {
    if (node.key == childKey) return &node;
  }
  return nullptr;
}

}  // namespace pe
