// The window toolkit as the program uses it: start-up and the end sequence.
#pragma once

namespace kantrell {

class WindowToolkit {
 public:
  virtual ~WindowToolkit() = default;

  // Reads the screen density, loads the application icon and the arrow cursor, chooses the
  // default font of new text controls and initialises the common controls.
  virtual void start() = 0;

  // Closes any window still open, destroys the icon, then deletes every font the toolkit holds.
  virtual void end() = 0;
};

}  // namespace kantrell
