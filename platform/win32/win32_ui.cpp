#include "platform/win32/win32_ui.h"

#include <windows.h>
// The common controls need the Windows types first.
#include <commctrl.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "platform/win32/text.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace win32ui {

namespace {

using win32::narrow;
using win32::widen;

constexpr wchar_t kApplicationClass[] = L"QuoltApplication";
constexpr wchar_t kPageClass[] = L"QuoltTabSheet";
// The activation handler runs from the queue, after the system has finished activating the
// window, so that a message box it shows does not nest inside the activation itself.
constexpr UINT kActivated = WM_APP + 1;
constexpr UINT_PTR kTypingLimitSubclass = 1;
constexpr int kFirstControlId = 100;

COLORREF colour(const core::Rgb& c) {
  return RGB(static_cast<BYTE>(c.r), static_cast<BYTE>(c.g), static_cast<BYTE>(c.b));
}

unsigned modifiers() {
  unsigned shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= core::kShift;
  if (GetKeyState(VK_MENU) < 0) shift |= core::kAlt;
  if (GetKeyState(VK_CONTROL) < 0) shift |= core::kCtrl;
  return shift;
}

class Window;

class PickList : public ui::PickList {
 public:
  explicit PickList(HWND hwnd) : hwnd_(hwnd) {}
  int selectedIndex() const override {
    return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
  }
  void setSelectedIndex(int index) override {
    const int count = static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0));
    if (index < 0 || index >= count) index = -1;
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  std::string text() const override {
    const int index = selectedIndex();
    if (index < 0) return {};
    const auto length = SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(length));
    return narrow(item);
  }
  bool enabled() const override { return IsWindowEnabled(hwnd_) != 0; }
  void setEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }

 private:
  HWND hwnd_;
};

class TextField : public ui::TextField {
 public:
  TextField(Window& window, HWND hwnd, std::string name)
      : window_(window), hwnd_(hwnd), name_(std::move(name)) {}
  std::string text() const override {
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int n = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(n));
    return narrow(text);
  }
  void setText(const std::string& text) override { SetWindowTextW(hwnd_, widen(text).c_str()); }
  bool enabled() const override { return IsWindowEnabled(hwnd_) != 0; }
  void setEnabled(bool enabled) override { EnableWindow(hwnd_, enabled); }
  void setFocus() override;

 private:
  Window& window_;
  HWND hwnd_;
  std::string name_;
};

struct Control {
  const core::ControlDesign* design = nullptr;
  HWND hwnd = nullptr;
  std::string page;  // the tab sheet holding it
};

class Window : public ui::Window {
 public:
  Window(const core::FormDesign& design, HWND owner);
  ~Window() override;

  ui::PickList& pickList(std::string_view name) override;
  ui::TextField& textField(std::string_view name) override;
  std::string caption() const override;
  void setCaption(const std::string& caption) override;

  HWND handle() const { return hwnd_; }
  void attach(core::Dispatcher* dispatcher) { dispatcher_ = dispatcher; }
  void showCentred();
  // A key, character or other input message on its way to a control of this window. True when
  // it has been handled here and must not reach the control.
  bool preTranslate(const MSG& msg);
  // Brings a control's page into view and gives it the focus.
  void focusControl(const std::string& name);

  static LRESULT CALLBACK formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK pageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK typingLimitProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                          UINT_PTR id, DWORD_PTR data);

 private:
  LRESULT handleForm(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handlePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam);
  void command(HWND control, UINT code);
  void create(HWND owner);
  void layout();
  int px(int value) const { return MulDiv(value, dpi_, 96); }
  HFONT font(const core::Font& font);
  Control* find(std::string_view name);
  Control* controlOf(HWND hwnd);
  std::string nameOfFocusHolder(HWND hwnd);
  bool handCursorOver(HWND hwnd);
  bool canFocus(std::string_view name);
  void focusFirstOf(const std::string& page);
  void showPage(const std::string& page);
  void switchToPage(const std::string& page);
  void tabToNext(bool backwards);
  void tabOrder(const std::string& parent, std::vector<std::string>& out);
  void paintTab(const DRAWITEMSTRUCT& item);
  void paintPage(HWND page, HDC dc);
  bool typingAllowed(HWND edit, const core::ControlDesign& design, std::size_t inserted);

  const core::FormDesign& design_;
  core::Dispatcher* dispatcher_ = nullptr;
  HWND hwnd_ = nullptr;
  HWND tabs_ = nullptr;
  std::vector<std::string> pageNames_;  // in tab order
  std::map<std::string, HWND, std::less<>> pages_;
  std::vector<Control> controls_;
  std::map<std::string, std::unique_ptr<PickList>, std::less<>> lists_;
  std::map<std::string, std::unique_ptr<TextField>, std::less<>> fields_;
  std::map<std::string, HFONT> fonts_;
  std::string page_;
  HWND lastFocus_ = nullptr;
  bool activatedOnce_ = false;
  int dpi_ = 96;
  HBRUSH body_ = nullptr;
  HBRUSH border_ = nullptr;
  HBRUSH bar_ = nullptr;
};

void TextField::setFocus() {
  window_.focusControl(name_);
}

Window::Window(const core::FormDesign& design, HWND owner) : design_(design) {
  body_ = CreateSolidBrush(colour(design.look.body));
  border_ = CreateSolidBrush(colour(design.look.border));
  bar_ = CreateSolidBrush(colour(design.look.selectedBar));
  HDC screen = GetDC(nullptr);
  dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  create(owner);
}

Window::~Window() {
  if (hwnd_ != nullptr) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  for (auto& [key, handle] : fonts_) DeleteObject(handle);
  DeleteObject(body_);
  DeleteObject(border_);
  DeleteObject(bar_);
}

HFONT Window::font(const core::Font& f) {
  const std::string key = f.face + "/" + std::to_string(f.points) + "/" + (f.bold ? "b" : "") +
                          "/" + std::to_string(dpi_);
  if (auto it = fonts_.find(key); it != fonts_.end()) return it->second;
  HFONT handle =
      CreateFontW(-MulDiv(f.points, dpi_, 72), 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                  FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                  CLEARTYPE_QUALITY, DEFAULT_PITCH, widen(f.face).c_str());
  fonts_[key] = handle;
  return handle;
}

void Window::create(HWND owner) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  const std::wstring className = widen(design_.className);
  WNDCLASSEXW form{};
  form.cbSize = sizeof form;
  form.lpfnWndProc = formProc;
  form.hInstance = instance;
  form.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  form.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  form.lpszClassName = className.c_str();
  RegisterClassExW(&form);
  WNDCLASSEXW page{};
  page.cbSize = sizeof page;
  page.lpfnWndProc = pageProc;
  page.hInstance = instance;
  page.hCursor = form.hCursor;
  page.lpszClassName = kPageClass;
  RegisterClassExW(&page);

  // No system menu and so no minimise, maximise or close button; the frame stays sizeable.
  hwnd_ = CreateWindowExW(WS_EX_CONTROLPARENT, className.c_str(), widen(design_.caption).c_str(),
                          WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN, CW_USEDEFAULT,
                          CW_USEDEFAULT, 100, 100, owner, nullptr, instance, nullptr);
  if (hwnd_ == nullptr) throw std::runtime_error("the window cannot be created");
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

  int id = kFirstControlId;
  for (const auto& c : design_.controls) {
    if (c.kind == core::ControlKind::PageControl) {
      tabs_ =
          CreateWindowExW(0, WC_TABCONTROLW, L"",
                          WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS |
                              TCS_FOCUSNEVER | TCS_OWNERDRAWFIXED,
                          0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)),
                          instance, nullptr);
      continue;
    }
    if (c.kind == core::ControlKind::TabSheet) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      std::wstring caption = widen(c.caption);
      item.pszText = caption.data();
      SendMessageW(tabs_, TCM_INSERTITEMW, pageNames_.size(), reinterpret_cast<LPARAM>(&item));
      HWND sheet = CreateWindowExW(WS_EX_CONTROLPARENT, kPageClass, caption.c_str(),
                                   WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, tabs_, nullptr, instance,
                                   nullptr);
      SetWindowLongPtrW(sheet, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      pages_[c.name] = sheet;
      pageNames_.push_back(c.name);
      continue;
    }
    Control control{&c, nullptr, core::pageOf(design_, c.name)};
    HWND parent = pages_.at(control.page);
    const std::wstring caption = widen(c.caption);
    const auto menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++));
    switch (c.kind) {
      case core::ControlKind::Label:
        control.hwnd = CreateWindowExW(0, L"STATIC", caption.c_str(),
                                       WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                                       parent, menu, instance, nullptr);
        break;
      case core::ControlKind::Edit:
        control.hwnd = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", caption.c_str(),
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 0,
                                       0, parent, menu, instance, nullptr);
        // The program may set a text of any length; only typing is held to the limit.
        SendMessageW(control.hwnd, EM_SETLIMITTEXT, 0, 0);
        SetWindowSubclass(control.hwnd, typingLimitProc, kTypingLimitSubclass,
                          reinterpret_cast<DWORD_PTR>(this));
        fields_[c.name] = std::make_unique<TextField>(*this, control.hwnd, c.name);
        break;
      case core::ControlKind::Button:
        control.hwnd = CreateWindowExW(0, L"BUTTON", caption.c_str(),
                                       WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0,
                                       0, parent, menu, instance, nullptr);
        break;
      case core::ControlKind::PickList:
        // A drop-down list: the operator picks an item and cannot type a text of his own.
        control.hwnd = CreateWindowExW(
            0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
            0, 0, 0, 0, parent, menu, instance, nullptr);
        for (const auto& text : c.items)
          SendMessageW(control.hwnd, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(widen(text).c_str()));
        lists_[c.name] = std::make_unique<PickList>(control.hwnd);
        break;
      case core::ControlKind::GroupBox:
        control.hwnd =
            CreateWindowExW(0, L"BUTTON", caption.c_str(), WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0,
                            0, 0, 0, parent, menu, instance, nullptr);
        break;
      default:
        continue;
    }
    controls_.push_back(control);
  }
  // The controls a group box holds are its siblings here; they must lie above it.
  for (const auto& c : controls_)
    if (c.design->kind == core::ControlKind::GroupBox)
      SetWindowPos(c.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  layout();
  if (!pageNames_.empty()) showPage(pageNames_.front());
}

// Places everything at the window's dots per inch; the design's measures are those of 96.
void Window::layout() {
  const auto* pageControl = [this]() -> const core::ControlDesign* {
    for (const auto& c : design_.controls)
      if (c.kind == core::ControlKind::PageControl) return &c;
    return nullptr;
  }();

  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  RECT frame{0, 0, px(design_.width), px(design_.height)};
  if (design_.sizeIsClient) AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  if (tabs_ != nullptr && pageControl != nullptr) {
    const auto& b = pageControl->bounds;
    SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font(design_.font)), FALSE);
    SetWindowPos(tabs_, nullptr, px(b.left), px(b.top), px(b.width), px(b.height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (design_.look.tabHeight > 0)
      SendMessageW(tabs_, TCM_SETITEMSIZE, 0, MAKELPARAM(0, px(design_.look.tabHeight)));
    RECT item{};
    SendMessageW(tabs_, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    // Each page covers the whole body of the tab control and draws its own flat border.
    for (auto& [name, sheet] : pages_)
      SetWindowPos(sheet, HWND_TOP, 0, item.bottom, px(b.width), px(b.height) - item.bottom,
                   SWP_NOACTIVATE);
  }

  for (const auto& c : controls_) {
    int left = 0, top = 0;
    for (const auto* d = c.design; d != nullptr && d->kind != core::ControlKind::TabSheet;
         d = design_.find(d->parent)) {
      left += d->bounds.left;
      top += d->bounds.top;
    }
    int height = c.design->bounds.height;
    // A combo box's height includes its drop-down part.
    if (c.design->kind == core::ControlKind::PickList)
      height += 16 * static_cast<int>(c.design->items.size() + 1);
    SetWindowPos(c.hwnd, nullptr, px(left) + 1, px(top) + 1, px(c.design->bounds.width), px(height),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font(c.design->font)), TRUE);
  }
}

ui::PickList& Window::pickList(std::string_view name) {
  return ui::controlNamed(lists_, name, "pick list");
}

ui::TextField& Window::textField(std::string_view name) {
  return ui::controlNamed(fields_, name, "edit field");
}

std::string Window::caption() const {
  const int length = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int n = GetWindowTextW(hwnd_, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(n));
  return narrow(text);
}

void Window::setCaption(const std::string& caption) {
  SetWindowTextW(hwnd_, widen(caption).c_str());
}

void Window::showCentred() {
  RECT r{};
  GetWindowRect(hwnd_, &r);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  SetForegroundWindow(hwnd_);
}

Control* Window::find(std::string_view name) {
  for (auto& c : controls_)
    if (c.design->name == name) return &c;
  return nullptr;
}

Control* Window::controlOf(HWND hwnd) {
  for (auto& c : controls_)
    if (c.hwnd == hwnd) return &c;
  return nullptr;
}

// The design name of the control that holds the focus (a control's inner window counts as the
// control); empty when the window itself holds it.
std::string Window::nameOfFocusHolder(HWND hwnd) {
  for (; hwnd != nullptr && hwnd != hwnd_; hwnd = GetParent(hwnd))
    if (const auto* c = controlOf(hwnd)) return c->design->name;
  return {};
}

bool Window::handCursorOver(HWND hwnd) {
  const auto* c = controlOf(hwnd);
  return c != nullptr && (c->design->kind == core::ControlKind::Button ||
                          c->design->kind == core::ControlKind::PickList);
}

bool Window::canFocus(std::string_view name) {
  const auto* c = find(name);
  return c != nullptr && IsWindowEnabled(c->hwnd);
}

void Window::focusFirstOf(const std::string& page) {
  const std::string name =
      core::firstFocusable(design_, page, [this](std::string_view n) { return canFocus(n); });
  if (const auto* c = find(name)) {
    SetFocus(c->hwnd);
  } else {
    SetFocus(hwnd_);
  }
}

void Window::showPage(const std::string& page) {
  for (std::size_t i = 0; i < pageNames_.size(); ++i) {
    if (pageNames_[i] != page) continue;
    SendMessageW(tabs_, TCM_SETCURSEL, i, 0);
    ShowWindow(pages_[page], SW_SHOW);
  }
  for (auto& [name, sheet] : pages_)
    if (name != page) ShowWindow(sheet, SW_HIDE);
  page_ = page;
  InvalidateRect(tabs_, nullptr, TRUE);
}

// The focus follows the page only when it lay on the page that goes out of view.
void Window::switchToPage(const std::string& page) {
  if (page == page_) return;
  HWND focus = GetFocus();
  const bool onOldPage = focus != nullptr && IsChild(pages_[page_], focus);
  showPage(page);
  if (onOldPage) focusFirstOf(page);
}

void Window::focusControl(const std::string& name) {
  const auto* c = find(name);
  if (c == nullptr) return;
  if (c->page != page_) showPage(c->page);
  if (IsWindowEnabled(c->hwnd)) {
    SetFocus(c->hwnd);
  } else {
    focusFirstOf(c->page);
  }
}

void Window::tabOrder(const std::string& parent, std::vector<std::string>& out) {
  for (const auto* c : design_.children(parent)) {
    if (c->tabOrder < 0) continue;
    if (c->kind == core::ControlKind::GroupBox) {
      tabOrder(c->name, out);
    } else if (c->kind == core::ControlKind::Edit || c->kind == core::ControlKind::Button ||
               c->kind == core::ControlKind::PickList) {
      out.push_back(c->name);
    }
  }
}

void Window::tabToNext(bool backwards) {
  std::vector<std::string> order;
  tabOrder(page_, order);
  std::vector<std::string> focusable;
  for (const auto& name : order)
    if (canFocus(name)) focusable.push_back(name);
  if (focusable.empty()) return;
  const std::string current = nameOfFocusHolder(GetFocus());
  std::size_t at = focusable.size();
  for (std::size_t i = 0; i < focusable.size(); ++i)
    if (focusable[i] == current) at = i;
  std::size_t next;
  if (at == focusable.size()) {
    next = backwards ? focusable.size() - 1 : 0;
  } else {
    next = backwards ? (at + focusable.size() - 1) % focusable.size() : (at + 1) % focusable.size();
  }
  SetFocus(find(focusable[next])->hwnd);
}

bool Window::preTranslate(const MSG& msg) {
  if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
  const auto* focused = controlOf(msg.hwnd);
  const bool inEdit = focused != nullptr && focused->design->kind == core::ControlKind::Edit;

  if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
    // Enter, Esc and Tab are no text, and no button is the default: they run nothing.
    if (msg.message == WM_CHAR && inEdit &&
        (msg.wParam == L'\r' || msg.wParam == L'\n' || msg.wParam == 27 || msg.wParam == L'\t'))
      return true;
    return false;
  }
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;

  const auto key = static_cast<std::uint16_t>(msg.wParam);
  const unsigned shift = modifiers() | (msg.message == WM_SYSKEYDOWN ? core::kAlt : 0u);
  // No key preview: the key goes to the handler of the control holding the focus, or to the
  // window's own while it holds the focus itself.
  if (dispatcher_ != nullptr) dispatcher_->keyDown(nameOfFocusHolder(msg.hwnd), key, shift);
  if (!IsWindow(hwnd_)) return true;

  if (key == VK_TAB && (shift & core::kCtrl) != 0) {
    // Ctrl+Tab walks the pages, as a page control does.
    for (std::size_t i = 0; i < pageNames_.size(); ++i)
      if (pageNames_[i] == page_) {
        const std::size_t n = pageNames_.size();
        switchToPage(pageNames_[(shift & core::kShift) != 0 ? (i + n - 1) % n : (i + 1) % n]);
        break;
      }
    return true;
  }
  if (key == VK_TAB && (shift & core::kAlt) == 0) {
    tabToNext((shift & core::kShift) != 0);
    return true;
  }
  if (msg.message == WM_SYSKEYDOWN && ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) {
    // An accelerator reaches a button only while the button's page is in view.
    for (const auto& c : controls_) {
      if (c.design->kind != core::ControlKind::Button ||
          core::accelerator(c.design->caption) != static_cast<char>(key) || c.page != page_ ||
          !IsWindowEnabled(c.hwnd))
        continue;
      if (dispatcher_ != nullptr) dispatcher_->click(c.design->name);
      return true;
    }
  }
  return false;
}

bool Window::typingAllowed(HWND edit, const core::ControlDesign& design, std::size_t inserted) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const auto length = static_cast<std::size_t>(GetWindowTextLengthW(edit));
  const std::size_t result = length - (end - start) + inserted;
  return core::typingAllowed(design.maxLength, inserted, result);
}

LRESULT CALLBACK Window::typingLimitProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<Window*>(data);
  const auto* c = self->controlOf(hwnd);
  if (c != nullptr && c->design->maxLength > 0) {
    if (message == WM_CHAR && wParam >= 32 && wParam != 127 &&
        !self->typingAllowed(hwnd, *c->design, 1)) {
      MessageBeep(MB_OK);
      return 0;
    }
    if (message == WM_PASTE) {
      std::size_t inserted = 0;
      if (OpenClipboard(hwnd)) {
        if (HANDLE clip = GetClipboardData(CF_UNICODETEXT)) {
          if (const auto* text = static_cast<const wchar_t*>(GlobalLock(clip))) {
            // A one-line field takes a pasted text up to its first line break.
            while (text[inserted] != 0 && text[inserted] != L'\r' && text[inserted] != L'\n')
              ++inserted;
            GlobalUnlock(clip);
          }
        }
        CloseClipboard();
      }
      if (!self->typingAllowed(hwnd, *c->design, inserted)) {
        MessageBeep(MB_OK);
        return 0;
      }
    }
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

void Window::command(HWND control, UINT code) {
  const auto* c = controlOf(control);
  if (c == nullptr || dispatcher_ == nullptr) return;
  if (c->design->kind == core::ControlKind::Button && code == BN_CLICKED)
    dispatcher_->click(c->design->name);
  // Only the operator's pick raises this: a selection set by the program never does.
  if (c->design->kind == core::ControlKind::PickList && code == CBN_SELCHANGE)
    dispatcher_->change(c->design->name);
}

void Window::paintTab(const DRAWITEMSTRUCT& item) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  RECT r = item.rcItem;
  FillRect(item.hDC, &r, selected ? body_ : GetSysColorBrush(COLOR_BTNFACE));
  if (selected) {
    RECT bar{r.left, r.top, r.right, r.top + px(3)};
    FillRect(item.hDC, &bar, bar_);
  }
  const std::wstring caption = widen(design_.find(pageNames_.at(item.itemID))->caption);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &r,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void Window::paintPage(HWND page, HDC dc) {
  RECT r{};
  GetClientRect(page, &r);
  FillRect(dc, &r, body_);
  FrameRect(dc, &r, border_);
}

LRESULT Window::handleForm(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
        return 0;
      }
      if (!IsWindowVisible(hwnd_)) break;
      if (!activatedOnce_) {
        // The first activation: the first control in tab order that can take the focus.
        activatedOnce_ = true;
        focusFirstOf(page_);
      } else if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_) &&
                 IsWindowVisible(lastFocus_)) {
        // Back from a message box or another program: the focus returns where it was.
        SetFocus(lastFocus_);
      } else {
        focusFirstOf(page_);
      }
      PostMessageW(hwnd_, kActivated, 0, 0);
      return 0;
    case kActivated:
      if (dispatcher_ != nullptr) dispatcher_->activate();
      return 0;
    case WM_CLOSE:
      // The window ends only through its Exit button (or F4).
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom == tabs_ && header->code == TCN_SELCHANGE) {
        const auto index = SendMessageW(tabs_, TCM_GETCURSEL, 0, 0);
        if (index >= 0 && static_cast<std::size_t>(index) < pageNames_.size())
          switchToPage(pageNames_[static_cast<std::size_t>(index)]);
      }
      return 0;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->hwndItem == tabs_) {
        paintTab(*item);
        return TRUE;
      }
      break;
    }
    case WM_SETCURSOR:
      if (handCursorOver(reinterpret_cast<HWND>(wParam)) && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
        return TRUE;
      }
      break;
    case WM_DPICHANGED: {
      dpi_ = HIWORD(wParam);
      const auto* suggested = reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      layout();
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT Window::handlePage(HWND page, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam != 0) command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_ERASEBKGND:
      paintPage(page, reinterpret_cast<HDC>(wParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(reinterpret_cast<HDC>(wParam), colour(design_.look.body));
      return reinterpret_cast<LRESULT>(body_);
    case WM_SETCURSOR:
      if (handCursorOver(reinterpret_cast<HWND>(wParam)) && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
        return TRUE;
      }
      break;
    default:
      break;
  }
  return DefWindowProcW(page, message, wParam, lParam);
}

LRESULT CALLBACK Window::formProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->handleForm(message, wParam, lParam);
}

LRESULT CALLBACK Window::pageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  return self->handlePage(hwnd, message, wParam, lParam);
}

// The application object. Like the toolkit the design comes from, it owns a window of its own
// that carries the application title: the main window belongs to it, so the task bar shows the
// title rather than the window's caption.
class Application : public ui::Application {
 public:
  Application();
  ~Application() override;

  void setTitle(const std::string& title) override;
  std::string title() const override { return title_; }
  void showMessage(const std::string& text) override;
  void messageDlg(const std::string& text, ui::DialogType type) override;
  void showErrorBox(const std::string& text) override;
  ui::Window& createWindow(const core::FormDesign& design) override;
  void run(core::Dispatcher& dispatcher) override;
  void terminate() override;

 private:
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND owner() const;
  void box(const std::string& text, const std::wstring& caption, UINT icon);

  HWND hwnd_ = nullptr;
  std::string title_;
  std::unique_ptr<Window> window_;
  bool terminated_ = false;
};

Application::Application() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW cls{};
  cls.cbSize = sizeof cls;
  cls.lpfnWndProc = proc;
  cls.hInstance = instance;
  cls.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  cls.lpszClassName = kApplicationClass;
  RegisterClassExW(&cls);
  hwnd_ = CreateWindowExW(0, kApplicationClass, L"",
                          WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                          GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0,
                          0, nullptr, nullptr, instance, nullptr);
  if (hwnd_ == nullptr) throw std::runtime_error("the application window cannot be created");
}

Application::~Application() {
  window_.reset();
  DestroyWindow(hwnd_);
}

void Application::setTitle(const std::string& title) {
  title_ = title;
  SetWindowTextW(hwnd_, widen(title).c_str());
}

// Message boxes belong to the main window once it is in view, so that it takes no input while
// one is open; before that (an error of the show handler) to the application window.
HWND Application::owner() const {
  if (window_ != nullptr && IsWindowVisible(window_->handle())) return window_->handle();
  return hwnd_;
}

void Application::box(const std::string& text, const std::wstring& caption, UINT icon) {
  MessageBoxW(owner(), widen(text).c_str(), caption.c_str(), MB_OK | icon);
}

void Application::showMessage(const std::string& text) {
  box(text, widen(title_), 0);
}

void Application::messageDlg(const std::string& text, ui::DialogType type) {
  if (type == ui::DialogType::Error) {
    box(text, L"Error", MB_ICONERROR);
  } else {
    box(text, L"Information", MB_ICONINFORMATION);
  }
}

void Application::showErrorBox(const std::string& text) {
  box(text, widen(title_), MB_ICONERROR);
}

ui::Window& Application::createWindow(const core::FormDesign& design) {
  window_ = std::make_unique<Window>(design, hwnd_);
  return *window_;
}

void Application::run(core::Dispatcher& dispatcher) {
  window_->attach(&dispatcher);
  // The show handler runs while the window is still invisible.
  dispatcher.show();
  if (terminated_) return;
  // The application window stays out of sight: it only carries the task-bar entry.
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  window_->showCentred();

  MSG msg;
  while (!terminated_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (window_->preTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  window_->attach(nullptr);
}

// Takes effect once the running handler has returned to the loop.
void Application::terminate() {
  terminated_ = true;
  PostMessageW(hwnd_, WM_NULL, 0, 0);
}

LRESULT CALLBACK Application::proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // The task-bar entry hands activation on to the window the operator works in.
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE) {
    HWND popup = GetLastActivePopup(hwnd);
    if (popup != hwnd && IsWindowVisible(popup) && IsWindowEnabled(popup)) {
      SetActiveWindow(popup);
      return 0;
    }
  }
  if (message == WM_CLOSE) return 0;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int runProgram(const core::ProgramDefinition& program, win32::System& system) {
  std::vector<std::string> args;
  if (system.api() == win32::Api::Wide) {
    const auto* line = reinterpret_cast<const char16_t*>(GetCommandLineW());
    for (const auto& arg : core::splitCommandLine(std::u16string_view(line)))
      args.push_back(
          narrow(std::wstring_view(reinterpret_cast<const wchar_t*>(arg.data()), arg.size())));
  } else {
    const auto isLeadByte = [](unsigned char c) { return IsDBCSLeadByte(c) != 0; };
    for (const auto& arg : core::splitCommandLine(std::string_view(GetCommandLineA()), isLeadByte))
      args.push_back(system.fromCodePage(arg));
  }
  return core::startUp(
      args, [] { return std::unique_ptr<ui::Application>(std::make_unique<Application>()); },
      program);
}

}  // namespace win32ui
