// Ownership and the loading protocol of TComponent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/Component.h"

namespace {

// Writes its name into a shared log when it is freed or loaded.
class TLoggingComponent : public TComponent {
 public:
  TLoggingComponent(TComponent* owner, std::string name, std::vector<std::string>& log)
      : TComponent(owner), log_(log) {
    SetName(std::move(name));
  }
  ~TLoggingComponent() override { log_.push_back("free " + Name()); }

 protected:
  void Loaded() override {
    TComponent::Loaded();
    log_.push_back("loaded " + Name());
  }

 private:
  std::vector<std::string>& log_;
};

TEST(ComponentOwnership, OwnerFreesItsComponentsInReverseOrderExactlyOnce) {
  std::vector<std::string> log;
  auto* owner = new TLoggingComponent(nullptr, "owner", log);
  auto* a = new TLoggingComponent(owner, "a", log);
  new TLoggingComponent(a, "a1", log);
  new TLoggingComponent(owner, "b", log);
  new TLoggingComponent(owner, "c", log);
  EXPECT_EQ(owner->ComponentCount(), 3);
  delete owner;
  // Each destructor logs before its own components go.
  const std::vector<std::string> expected{"free owner", "free c", "free b", "free a", "free a1"};
  EXPECT_EQ(log, expected);
}

TEST(ComponentOwnership, AComponentFreedEarlyLeavesItsOwner) {
  std::vector<std::string> log;
  auto* owner = new TLoggingComponent(nullptr, "owner", log);
  auto* a = new TLoggingComponent(owner, "a", log);
  new TLoggingComponent(owner, "b", log);
  delete a;
  ASSERT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(owner->Components(0)->Name(), "b");
  delete owner;
  const std::vector<std::string> expected{"free a", "free owner", "free b"};
  EXPECT_EQ(log, expected);
}

TEST(ComponentLoading, ComponentsOfALoadingOwnerLoadAndFinishInCreationOrder) {
  std::vector<std::string> log;
  TLoggingComponent owner(nullptr, "owner", log);
  owner.BeginLoading();
  auto* a = new TLoggingComponent(&owner, "a", log);
  auto* a1 = new TLoggingComponent(a, "a1", log);
  auto* b = new TLoggingComponent(&owner, "b", log);
  EXPECT_TRUE(a->Loading());
  EXPECT_TRUE(a1->Loading());
  EXPECT_TRUE(b->Loading());
  owner.FinishLoading();
  const std::vector<std::string> expected{"loaded a1", "loaded a", "loaded b", "loaded owner"};
  EXPECT_EQ(log, expected);
  EXPECT_FALSE(owner.Loading());
  EXPECT_FALSE(a1->Loading());
}

TEST(ComponentLoading, AComponentOfAnOwnerThatIsNotLoadingIsNotLoading) {
  std::vector<std::string> log;
  TLoggingComponent owner(nullptr, "owner", log);
  TLoggingComponent* a = new TLoggingComponent(&owner, "a", log);
  EXPECT_FALSE(a->Loading());
  owner.FinishLoading();
  EXPECT_TRUE(log.empty()) << "Loaded ran on components that were not loading";
}

}  // namespace
