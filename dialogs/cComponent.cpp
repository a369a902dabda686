// TComponent: ownership and free notification.
#include "dialogs/cComponent.h"

#include <algorithm>

namespace {
void Erase(std::vector<TComponent *> &list, TComponent *component) {
  list.erase(std::remove(list.begin(), list.end(), component), list.end());
}
} // namespace

TComponent::TComponent(TComponent *owner) : FOwner(nullptr) {
  if (owner)
    owner->Insert(this);
}

TComponent::~TComponent() {
  FDestroying = true;
  // Those that asked hear of it first, while the owned components still exist.
  while (!FFreeNotifies.empty()) {
    TComponent *other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    Erase(other->FFreeNotifies, this);
    other->Notification(this, opRemove);
  }
  while (!FComponents.empty())
    delete FComponents.back(); // leaves FComponents in its destructor
  if (FOwner)
    FOwner->Remove(this);
}

TComponent *TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount())
    return nullptr;
  return FComponents[static_cast<size_t>(index)];
}

void TComponent::FreeNotification(TComponent *component) {
  if (!component || component == this)
    return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
    FFreeNotifies.push_back(component);
  if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
      component->FFreeNotifies.end())
    component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent *component) {
  if (!component)
    return;
  Erase(FFreeNotifies, component);
  Erase(component->FFreeNotifies, this);
}

void TComponent::Notification(TComponent *component, TOperation operation) {
  (void)component;
  (void)operation;
}

void TComponent::Insert(TComponent *component) {
  FComponents.push_back(component);
  component->FOwner = this;
  Notification(component, opInsert);
}

void TComponent::Remove(TComponent *component) {
  Erase(FComponents, component);
  component->FOwner = nullptr;
  Notification(component, opRemove);
}
