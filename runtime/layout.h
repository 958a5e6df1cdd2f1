// The shape of a designed window as data: every back end builds its windows from these tables
// alone. The tables themselves live in layouts/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/ui.h"

namespace kesto::ui {

enum class ControlType {
  kPicBtn,
  kHyperLinker,
  kPicBox,
  kTab,
  kTransLabel,
  kLabel,
  kWebUIControl,
  kHtmlViewer,
  kButton,
  kEditBox,
  kListView,
  kProcessBar,
};

// Compiled-in picture data (BMP, JPEG, GIF or ICO file bytes).
struct Picture {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  bool IsEmpty() const { return size == 0; }
  Bytes ToBytes() const { return Bytes(data, data + size); }
};

// Colours are 0xRRGGBB; kDefaultColour means the system default.
constexpr std::uint32_t kDefaultColour = 0xFF000000u;

struct Font {
  Text face;       // empty: the system's default face
  int height = 0;  // character height in pixels; 0: the default font
  bool bold = false;
  bool underline = false;
};

struct ControlLayout {
  ControlType type;
  Text name;
  Text container;  // empty: the window; otherwise a PicBox or the Tab named here
  int page = -1;   // the Tab page when the container is a Tab
  int left = 0, top = 0, width = 0, height = 0;
  bool visible = true;
  bool disabled = false;
  Text text;  // caption, label text, initial address of a browser, initial content of a box
  Font font;
  std::uint32_t textColour = kDefaultColour;
  std::uint32_t backColour = kDefaultColour;
  std::vector<std::uint32_t> linkColours;  // HyperLinker: normal, hover, visited
  std::vector<Picture> pictures;           // PicBtn: normal, hover; PicBox: the picture
  int pageCount = 0;                       // Tab
  int currentPage = 0;                     // Tab
  bool showTabs = true;                    // Tab: false hides the tab strip; only the program
                                           // switches pages then
  int rangeMin = 0, rangeMax = 100;        // ProcessBar
  int position = 0;                        // ProcessBar
  int imageWidth = 0, imageHeight = 0;     // ListView pictures
  // A ListView is an icon view (large pictures, captions below) with single selection whose
  // rows are activated by a double-click; its pictures are the design-time image list.
};

enum class Border { kNone, kFixedSingle };

struct MenuLayout {
  Text name;  // the item's caption doubles as its name
  bool visible = true;
  std::vector<MenuLayout> children;
};

struct EventBinding {
  Text control;  // empty: the window itself; a menu item's caption for kMenuChosen
  Event event;
  Text handler;  // name given to RegisterHandler
};

struct WindowLayout {
  Text name;
  Text title;
  int left = 50, top = 50, width = 0, height = 0;
  bool centred = true;
  Border border = Border::kNone;
  // Movable by its caption bar; a borderless window is dragged by a left-button press on its
  // background or on a PicBox, Label or ProcessBar.
  bool movable = true;
  bool topmost = false;
  bool showInTaskbar = true;
  bool visible = true;
  std::uint32_t backColour = kDefaultColour;
  Picture icon;  // ICO file bytes; empty: the program's default icon
  // Creation order; among the controls of one container an earlier one lies above a later one
  // (the title banner 标签1 lies below the title text and the buttons listed before it).
  std::vector<ControlLayout> controls;
  std::vector<MenuLayout> menus;
  std::vector<EventBinding> bindings;
};

// The layouts of the program's windows, looked up by window name; nullptr when unknown.
const WindowLayout* FindWindowLayout(const Text& window);

}  // namespace kesto::ui
