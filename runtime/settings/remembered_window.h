#pragma once
// What the settings file needs of a window whose position it remembers. The windowing
// layer adapts its windows to this; tests use plain objects.
namespace vrt {

class RememberedWindow {
 public:
  virtual ~RememberedWindow() = default;

  virtual bool IsMaximized() const = 0;
  virtual bool IsIconized() const = 0;
  virtual bool IsResizable() const = 0;
  virtual int X() const = 0;
  virtual int Y() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;

  virtual void SetMaximized(bool on) = 0;
  virtual void SetIconized(bool on) = 0;
  virtual void SetX(int x) = 0;
  virtual void SetY(int y) = 0;
  virtual void SetWidth(int width) = 0;
  virtual void SetHeight(int height) = 0;
};

}  // namespace vrt
