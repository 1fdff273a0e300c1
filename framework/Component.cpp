#include "framework/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) {
    owner_->components_.push_back(this);
    if (owner_->Loading()) state_.Include(csLoading);
  }
}

TComponent::~TComponent() {
  MarkDestroying();
  DestroyComponents();
  if (owner_) {
    auto& list = owner_->components_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

void TComponent::DestroyComponents() {
  MarkDestroying();
  // Each destructor removes its component from the list.
  while (!components_.empty()) delete components_.back();
}

void TComponent::FinishLoading() {
  // Loaded() may create components; index instead of iterating.
  for (size_t i = 0; i < components_.size(); ++i) components_[i]->FinishLoading();
  if (Loading()) Loaded();
}

void TComponent::Loaded() { state_.Exclude(csLoading); }
