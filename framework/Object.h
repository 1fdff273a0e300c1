// TObject: the common base of components, controls and the graphics objects,
// so that every event can name its sender as `TObject* Sender`.
#pragma once

#include <string>

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  // The C++ class name of the most derived class ("TForm1", "TQelLabel").
  // Window classes of controls are registered under this name.
  std::string ClassName() const;
};
