// TComponent: a non-visual component that its owner frees, with a name, a tag and
// notification when a component it refers to is freed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Root of the component classes; event handlers receive their sender as TObject.
class TObject {
public:
  virtual ~TObject() = default;
};

class TComponent : public TObject {
public:
  enum TOperation { opInsert, opRemove };

  // Owner, when given, frees this component when it is freed itself.
  explicit TComponent(TComponent *owner);
  // Tells the components that asked (FreeNotification), frees the owned ones (the
  // newest first) and leaves the owner's list.
  ~TComponent() override;
  TComponent(const TComponent &) = delete;
  TComponent &operator=(const TComponent &) = delete;

  TComponent *Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // The owned component Index (0 = the first inserted); null outside the range.
  TComponent *Components(int index) const;

  const std::string &Name() const { return FName; }
  void SetName(const std::string &value) { FName = value; }
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t value) { FTag = value; }
  // True while the destructor runs.
  bool Destroying() const { return FDestroying; }

  // Asks for Notification(this, opRemove) on Component when this one is freed.
  // The link goes both ways, so either may be freed first.
  void FreeNotification(TComponent *component);
  void RemoveFreeNotification(TComponent *component);

protected:
  // Component is being inserted into or removed from this one's owned list, or a
  // component linked by FreeNotification is being freed.
  virtual void Notification(TComponent *component, TOperation operation);

private:
  void Insert(TComponent *component);
  void Remove(TComponent *component);

  TComponent *FOwner;
  std::vector<TComponent *> FComponents;
  std::vector<TComponent *> FFreeNotifies;
  std::string FName;
  intptr_t FTag = 0;
  bool FDestroying = false;
};
