// TLayoutControls: the factory that builds a window's controls from the layout
// table, for the Win32 window and the tests' stand-in alike. Each row becomes a
// control of the window's own class for its kind; controls are found by their
// names, and a click runs the handler the row names.
#pragma once

#include "app/cMainFormLayout.h"

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>

// What a window's maker is given to make one control.
template <typename TBase> struct TControlRequest {
  const TControlDef &Def;
  int Id;
  TBase *Parent; // the control it lives in (made before it), or null: the window
};

// TBase: the window's common class of controls (it owns them through it); TClasses:
// its class for each kind, in the order of TControlKind (Label, Button, DropDown,
// CheckBox, Grid, OutputBox, Panel). The classes of buttons and check boxes have an
// OnClick event.
template <typename TBase, typename... TClasses> class TLayoutControls : public IControlLookup {
  static_assert(sizeof...(TClasses) == kControlKinds, "one class for each kind of control");
  using K = TControlKind;

public:
  template <K Kind> using TClassOf = std::tuple_element_t<static_cast<size_t>(Kind), std::tuple<TClasses...>>;

  // A control by its name, as the window's own class.
  template <K Kind> TClassOf<Kind> &Get(TControlName<Kind> name) { return As<Kind>(name.Index); }
  TClassOf<K::Label> &Label(TControlName<K::Label> name) { return Get(name); }
  TClassOf<K::Button> &Button(TControlName<K::Button> name) { return Get(name); }
  TClassOf<K::DropDown> &DropDown(TControlName<K::DropDown> name) { return Get(name); }
  TClassOf<K::CheckBox> &CheckBox(TControlName<K::CheckBox> name) { return Get(name); }
  TClassOf<K::Grid> &Grid(TControlName<K::Grid> name) { return Get(name); }
  TClassOf<K::OutputBox> &OutputBox(TControlName<K::OutputBox> name) { return Get(name); }
  TClassOf<K::Panel> &Panel(TControlName<K::Panel> name) { return Get(name); }
  // The control of a row of the layout.
  TBase &ControlOf(const TControlDef &def) { return *FControls.at(IndexOf(def)); }
  const TBase &ControlOf(const TControlDef &def) const { return *FControls.at(IndexOf(def)); }

  ILabel &FindLabel(std::string_view name) override { return Find<K::Label>(name); }
  IButton &FindButton(std::string_view name) override { return Find<K::Button>(name); }
  IDropDownList &FindDropDown(std::string_view name) override { return Find<K::DropDown>(name); }
  ICheckBox &FindCheckBox(std::string_view name) override { return Find<K::CheckBox>(name); }
  ISettingsGrid &FindGrid(std::string_view name) override { return Find<K::Grid>(name); }
  IOutputBox &FindOutputBox(std::string_view name) override { return Find<K::OutputBox>(name); }

protected:
  // Makes every control of the layout through Maker, whose Make(std::type_identity<C>,
  // request) returns a std::unique_ptr<C> for each class C. They are made in tab
  // order, those that take no focus last in the layout's order, so that a Win32
  // window's tab order follows the layout.
  template <typename TMaker> void MakeControls(TMaker &maker) {
    std::array<size_t, kMainFormControlCount> order{};
    for (size_t i = 0; i < order.size(); ++i)
      order[i] = i;
    std::stable_sort(order.begin(), order.end(), [](size_t a, size_t b) {
      // -1 sorts last
      return static_cast<unsigned>(kMainFormControls[a].TabOrder) <
             static_cast<unsigned>(kMainFormControls[b].TabOrder);
    });
    for (const size_t index : order) {
      const TControlDef &def = kMainFormControls[index];
      TBase *parent = nullptr;
      if (def.Parent != nullptr) {
        const size_t at = ControlIndex(def.Parent);
        if (at == kMainFormControlCount || !FControls[at])
          throw std::logic_error(std::string(def.Name) + ": its parent must be a control made before it");
        parent = FControls[at].get();
      }
      FControls[index] = MakeOf(maker, TControlRequest<TBase>{def, ControlId(index), parent});
    }
  }

  // The window's logic over these controls, each click wired to the row's handler.
  std::unique_ptr<TMainForm> MakeForm(const TMainFormServices &services) {
    auto form = std::make_unique<TMainForm>(TMainFormControls(*this), services);
    TMainForm *target = form.get();
    for (size_t i = 0; i < kMainFormControlCount; ++i) {
      const TControlDef &def = kMainFormControls[i];
      if (def.OnClick == nullptr)
        continue;
      const auto run = [target, handler = def.OnClick] { (target->*handler)(); };
      if (def.Kind == K::Button)
        As<K::Button>(i).OnClick = run;
      else if (def.Kind == K::CheckBox)
        As<K::CheckBox>(i).OnClick = run;
      else
        throw std::logic_error(std::string(def.Name) + ": only buttons and check boxes are clicked");
    }
    return form;
  }

private:
  static size_t IndexOf(const TControlDef &def) { return static_cast<size_t>(&def - kMainFormControls); }
  template <K Kind> TClassOf<Kind> &As(size_t index) {
    return static_cast<TClassOf<Kind> &>(*FControls.at(index));
  }

  template <K Kind> TClassOf<Kind> &Find(std::string_view name) {
    const size_t index = ControlIndex(name);
    if (index == kMainFormControlCount || kMainFormControls[index].Kind != Kind || !FControls[index])
      throw std::logic_error("the layout has no control '" + std::string(name) + "' of that kind");
    return As<Kind>(index);
  }

  template <K Kind, typename TMaker>
  static std::unique_ptr<TBase> MakeAs(TMaker &maker, const TControlRequest<TBase> &request) {
    return maker.Make(std::type_identity<TClassOf<Kind>>{}, request);
  }

  template <typename TMaker>
  static std::unique_ptr<TBase> MakeOf(TMaker &maker, const TControlRequest<TBase> &request) {
    switch (request.Def.Kind) {
    case K::Label:
      return MakeAs<K::Label>(maker, request);
    case K::Button:
      return MakeAs<K::Button>(maker, request);
    case K::DropDown:
      return MakeAs<K::DropDown>(maker, request);
    case K::CheckBox:
      return MakeAs<K::CheckBox>(maker, request);
    case K::Grid:
      return MakeAs<K::Grid>(maker, request);
    case K::OutputBox:
      return MakeAs<K::OutputBox>(maker, request);
    case K::Panel:
      return MakeAs<K::Panel>(maker, request);
    }
    throw std::logic_error("unknown kind of control");
  }

  // By the rows' positions in the layout.
  std::array<std::unique_ptr<TBase>, kMainFormControlCount> FControls;
};
