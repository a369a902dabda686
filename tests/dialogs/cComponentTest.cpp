// TComponent: the owner frees what it owns; free notification in both directions.
#include "dialogs/cComponent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// Logs its destruction and the notifications it receives.
class TLogged : public TComponent {
public:
  TLogged(TComponent *owner, const std::string &name, std::vector<std::string> &log)
      : TComponent(owner), FLog(log) {
    SetName(name);
  }
  ~TLogged() override { FLog.push_back("free " + Name()); }
  TComponent *Watched = nullptr;

protected:
  void Notification(TComponent *component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == Watched) {
      FLog.push_back(Name() + " heard");
      Watched = nullptr;
    }
  }

private:
  std::vector<std::string> &FLog;
};
} // namespace

TEST(Component, OwnerFreesItsComponentsNewestFirst) {
  std::vector<std::string> log;
  auto *owner = new TLogged(nullptr, "owner", log);
  auto *a = new TLogged(owner, "a", log);
  new TLogged(owner, "b", log);
  new TLogged(a, "a1", log);
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(0), a);
  EXPECT_EQ(owner->Components(2), nullptr);
  EXPECT_EQ(a->Owner(), owner);
  delete owner;
  EXPECT_EQ(log, (std::vector<std::string>{"free owner", "free b", "free a", "free a1"}));
}

TEST(Component, FreedExplicitlyLeavesItsOwner) {
  std::vector<std::string> log;
  TLogged owner(nullptr, "owner", log);
  auto *a = new TLogged(&owner, "a", log);
  new TLogged(&owner, "b", log);
  delete a;
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0)->Name(), "b");
}

TEST(Component, FreeNotificationReachesTheWatcherWhicheverGoesFirst) {
  std::vector<std::string> log;
  {
    auto *watcher = new TLogged(nullptr, "watcher", log);
    auto *target = new TLogged(nullptr, "target", log);
    watcher->Watched = target;
    watcher->FreeNotification(target);
    delete target;
    EXPECT_EQ(watcher->Watched, nullptr);
    delete watcher;
  }
  EXPECT_EQ(log, (std::vector<std::string>{"free target", "watcher heard", "free watcher"}));
  log.clear();
  {
    // The watcher goes first: the target must not notify a freed component later.
    auto *watcher = new TLogged(nullptr, "watcher", log);
    auto *target = new TLogged(nullptr, "target", log);
    watcher->Watched = target;
    watcher->FreeNotification(target);
    delete watcher;
    delete target;
  }
  EXPECT_EQ(log, (std::vector<std::string>{"free watcher", "free target"}));
}

TEST(Component, OwnedComponentHearsOfItsOwnerBeforeItIsFreed) {
  std::vector<std::string> log;
  auto *owner = new TLogged(nullptr, "owner", log);
  auto *child = new TLogged(owner, "child", log);
  child->Watched = owner;
  child->FreeNotification(owner);
  child->FreeNotification(owner); // asking twice links once
  delete owner;
  EXPECT_EQ(log, (std::vector<std::string>{"free owner", "child heard", "free child"}));
}

TEST(Component, NameTagAndDefaults) {
  TComponent component(nullptr);
  EXPECT_EQ(component.Owner(), nullptr);
  EXPECT_EQ(component.Name(), "");
  EXPECT_EQ(component.Tag(), 0);
  component.SetTag(-7);
  component.SetName("FolderDlg1");
  EXPECT_EQ(component.Tag(), -7);
  EXPECT_EQ(component.Name(), "FolderDlg1");
  EXPECT_FALSE(component.Destroying());
}
