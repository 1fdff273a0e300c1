// TComponent: the owner relation and the loading state.
//
// A component created with an owner is freed by that owner: the owner's
// destructor frees its components in reverse order of creation, and a
// component freed earlier leaves its owner's list first, so each one is freed
// exactly once.
//
// Loading: a form that builds a declared layout is in the state csLoading
// while its constructor runs, and every component created with a loading
// owner starts in csLoading too. When the layout is complete, FinishLoading()
// runs Loaded() on every owned component (in creation order, each one after
// its own components) and then on the owner itself. Loaded() clears
// csLoading; widgets override it for the work that needs all their declared
// properties (call the base first). Setters check Loading() to keep quiet
// while the layout is applied.
#pragma once

#include <string>
#include <vector>

#include "framework/Object.h"
#include "framework/Set.h"

enum TComponentStateItem { csLoading, csDestroying };
using TComponentState = TSet<TComponentStateItem>;

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(index); }

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

  TComponentState ComponentState() const { return state_; }
  bool Loading() const { return state_.Contains(csLoading); }
  bool Destroying() const { return state_.Contains(csDestroying); }

  // Puts this component into csLoading (a form does this before it builds
  // its layout).
  void BeginLoading() { state_.Include(csLoading); }
  // Runs Loaded() on the owned components, then on this one.
  void FinishLoading();

 protected:
  // The end of loading for this component; the base clears csLoading.
  virtual void Loaded();
  // Frees the owned components, last created first. Windowed controls call
  // this from their destructor, while their children can still reach them.
  void DestroyComponents();
  void MarkDestroying() { state_.Include(csDestroying); }

 private:
  TComponent* owner_;
  std::vector<TComponent*> components_;
  std::string name_;
  TComponentState state_;
};
