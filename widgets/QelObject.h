// TQelObject: the base of the widgets' persistent sub-objects (bevel,
// caption effects, button layout). A sub-object tells its owning control
// about changes through one handler that the owner sets when it creates it
// and clears before it frees it. Between BeginUpdate and EndUpdate changes
// stay quiet, so that several properties can change with one report.
#pragma once

#include <utility>

#include "framework/Events.h"

class TQelObject : public TObject {
 public:
  // The owner's change handler (empty: nobody is told).
  void SetOnChange(TNotifyEvent handler) { onChange_ = std::move(handler); }

  bool Updating() const { return updating_; }
  void BeginUpdate() { updating_ = true; }
  // Ends an update; with `reportChange` one change is reported.
  void EndUpdate(bool reportChange);

 protected:
  // A property changed: the owner hears of it unless an update is running.
  // Subclasses that derive values from their properties recompute them
  // here first.
  virtual void Changed();
  // A property setter's step: store a different value and report the change.
  template <class T>
  void Store(T& field, T value) {
    if (field == value) return;
    field = value;
    Changed();
  }

 private:
  TNotifyEvent onChange_;
  bool updating_ = false;
};
