// The window's design as data, written once the way a form file is: every control with its
// kind, parent, place, caption or items, font, tab order and the handlers its events run.
// Each UI backend renders this data; none of them knows a control by heart.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

enum class ControlKind { PageControl, TabSheet, GroupBox, Label, Edit, Button, PickList };

struct Font {
  std::string face = "Tahoma";
  int points = 8;
  int pixels = 11;  // height at 96 dpi
  bool bold = false;
};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
};

// Event names, as the design files name them.
struct Events {
  std::string onClick;    // buttons
  std::string onChange;   // pick lists
  std::string onKeyDown;  // edits and buttons
};

struct ControlDesign {
  ControlKind kind = ControlKind::Label;
  std::string name;
  std::string parent;  // empty: the form itself
  Rect bounds;         // within the parent, at 96 dpi
  std::string caption;  // caption, or the initial text of an edit; '&' marks an accelerator
  std::vector<std::string> items;
  Font font;
  int tabOrder = -1;    // -1: takes no focus by tabbing
  int maxLength = 0;    // edits: characters the operator may type, 0 for no limit
  Events events;
};

struct Rgb {
  int r = 0, g = 0, b = 0;
};

// The look of the tab control: light body, flat border, orange bar on the selected tab.
struct PageControlLook {
  Rgb body{247, 246, 245};
  Rgb border{145, 155, 156};
  Rgb selectedBar{240, 155, 20};
  Rgb buttonFace{244, 244, 240};
  int tabHeight = 19;  // 0: the toolkit's default
};

struct FormDesign {
  std::string name;       // "FrmAutenticar"
  std::string className;  // "TFrmAutenticar"
  std::string caption;    // replaced by the show handler before the window is first seen
  int width = 0, height = 0;
  bool sizeIsClient = true;  // false: width and height include the frame
  Font font;
  std::string onShow, onActivate, onKeyDown;
  PageControlLook look;
  std::vector<ControlDesign> controls;  // parents before their children

  const ControlDesign* find(std::string_view controlName) const;
  // The direct children of a control (empty name: of the form), in tab order; controls
  // without a tab order follow in design order.
  std::vector<const ControlDesign*> children(std::string_view parentName) const;
};

const FormDesign& directDesign();  // quolt_autenticador
const FormDesign& vendorDesign();  // quolt_autenticador_dll

// The page that holds a control (the tab sheet among its ancestors), or empty.
std::string pageOf(const FormDesign& design, std::string_view controlName);

// The first control of `page` that can take the focus, in tab order, nested group boxes
// included; `canFocus` tells whether a control is enabled. Empty when none can.
std::string firstFocusable(const FormDesign& design, std::string_view page,
                           const std::function<bool(std::string_view name)>& canFocus);

// The character after the '&' of a caption, raised; 0 when there is none.
char accelerator(std::string_view caption);

// Whether an edit of a field that holds at most `maxLength` typed characters may go through:
// anything that inserts text is refused when the result would pass the limit, a deletion is
// always allowed, so a longer text set by the program can be edited down.
bool typingAllowed(int maxLength, std::size_t insertedChars, std::size_t resultChars);

}  // namespace core
