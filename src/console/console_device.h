// The controlling terminal, when it is a Linux virtual console.
#pragma once

#include <cstdint>

#include "console/console_keyboard.h"

namespace kantrell {

class ConsoleDevice final : public LedFlags {
 public:
  // Opens the controlling terminal; usable() tells whether it is a virtual console.
  ConsoleDevice();
  ~ConsoleDevice() override;
  ConsoleDevice(const ConsoleDevice&) = delete;
  ConsoleDevice& operator=(const ConsoleDevice&) = delete;

  bool usable() const { return usable_; }

  bool read(std::uint8_t& flags) override;
  bool write(std::uint8_t flags) override;

 private:
  int fd_ = -1;
  bool usable_ = false;
};

}  // namespace kantrell
