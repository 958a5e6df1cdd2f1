// The embedded browser and the HTML interface box over a toolkit's browser view: the address,
// the "blank" page, the browser commands and the report of the page's element events.
#pragma once

#include "runtime/toolkit_front/loaded_windows.h"
#include "runtime/toolkit_front/page_addresses.h"

namespace kesto::front {

// The layouts' name for the empty page.
inline constexpr char kBlankPage[] = "blank";

// What ui::Execute reaches in a browser.
class BrowserCommands {
 public:
  virtual ~BrowserCommands() = default;
  // One of ui::BrowserCommand; a command the view has not is ignored.
  virtual void Execute(int command) = 0;
};

template <class ToolkitControl>
class BrowserBox : public ToolkitControl, public BrowserCommands {
 public:
  using ToolkitControl::ToolkitControl;

  // The address shown, or until there is one the address it is to show.
  std::optional<ui::Value> Read(int index) override {
    if (index != ui::prop::browser::kUrl) return ReadOther(index);
    const Text shown = ShownAddress();
    return shown.empty() ? address_ : shown;
  }

  bool Write(int index, const ui::Value& value) override {
    if (index != ui::prop::browser::kUrl) return WriteOther(index, value);
    Navigate(ui::TextOf(value));
    return true;
  }

 protected:
  // An empty address leaves the page as it is; a view not made yet goes there once it is.
  void Navigate(const Text& address) {
    address_ = address;
    if (address.empty() || !HasView()) return;
    Load(ViewAddress(address));
  }

  // An element event of the top-level page at `pageAddress`. Only the box's own page is heard:
  // one from the site of the address the program gave it; any other page's events are dropped.
  ui::EventResult ReportElementEvent(int type, const ui::Object& event, const Text& pageAddress) {
    if (!IsOwnPage(pageAddress, ViewAddress(address_))) return std::nullopt;
    auto keep = this->Hold();
    ui::EventArgs args;
    args.a = type;
    args.object = event;
    return this->Fire(ui::Event::kElementEvent, args);
  }

  const Text& address() const { return address_; }

  // The address the view shows; empty when none.
  virtual Text ShownAddress() const = 0;
  virtual bool HasView() const = 0;
  virtual void Load(const Text& address) = 0;
  // The browser's other properties; nullopt / false keeps the value as written.
  virtual std::optional<ui::Value> ReadOther(int /*index*/) { return std::nullopt; }
  virtual bool WriteOther(int /*index*/, const ui::Value& /*value*/) { return false; }

 private:
  // The address the view is given for one the program wrote.
  static Text ViewAddress(const Text& address) {
    return address == kBlankPage ? Text("about:blank") : address;
  }

  Text address_ = this->layout().text;
};

}  // namespace kesto::front
