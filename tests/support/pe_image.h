// A small reader of 64-bit PE images for the tests: headers, sections, imports and resources,
// read straight from the file's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pe {

struct Section {
  std::string name;
  std::uint32_t virtualAddress = 0;
  std::uint32_t virtualSize = 0;
  std::uint32_t rawOffset = 0;
  std::uint32_t rawSize = 0;
  std::uint32_t characteristics = 0;
};

struct Resource {
  std::uint32_t type = 0;
  std::uint32_t id = 0;  // resources named by text are reported with id 0 and `named` set
  std::uint32_t language = 0;
  bool named = false;
  std::vector<std::uint8_t> data;
};

class Image {
 public:
  // Reads and checks the file; an empty optional when it is no readable PE image.
  static std::optional<Image> load(const std::wstring& path);

  std::uint16_t machine() const { return machine_; }
  std::uint16_t magic() const { return magic_; }  // 0x20B for PE32+
  std::uint16_t subsystem() const { return subsystem_; }
  // The oldest Windows the image says it runs on, as major * 100 + minor (601 for Windows 7).
  unsigned osVersion() const { return osVersion_; }
  unsigned subsystemVersion() const { return subsystemVersion_; }
  std::uint16_t dllCharacteristics() const { return dllCharacteristics_; }
  std::uint32_t sizeOfImage() const { return sizeOfImage_; }
  const std::vector<Section>& sections() const { return sections_; }
  const std::vector<std::string>& importedDlls() const { return importedDlls_; }
  const std::vector<Resource>& resources() const { return resources_; }
  const Resource* findResource(std::uint32_t type, std::uint32_t id) const;

 private:
  bool parse();
  std::optional<std::uint32_t> fileOffsetOf(std::uint32_t rva) const;
  void readResourceDirectory(std::uint32_t base, std::uint32_t offset, int level, Resource path);
  template <typename T>
  T read(std::size_t offset) const;

  std::vector<std::uint8_t> bytes_;
  std::uint16_t machine_ = 0;
  std::uint16_t magic_ = 0;
  std::uint16_t subsystem_ = 0;
  unsigned osVersion_ = 0;
  unsigned subsystemVersion_ = 0;
  std::uint16_t dllCharacteristics_ = 0;
  std::uint32_t sizeOfImage_ = 0;
  std::vector<Section> sections_;
  std::vector<std::string> importedDlls_;
  std::vector<Resource> resources_;
};

// One node of a version block (VS_VERSIONINFO and its children).
struct VersionNode {
  std::u16string key;
  std::vector<std::uint8_t> value;  // raw bytes of the value
  bool isText = false;
  std::vector<VersionNode> children;

  std::u16string text() const;  // the value as text, without its terminating null
  const VersionNode* child(const std::u16string& childKey) const;
};

std::optional<VersionNode> parseVersionBlock(const std::vector<std::uint8_t>& data);

}  // namespace pe
