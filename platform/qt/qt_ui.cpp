#include "platform/qt/qt_ui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QValidator>
#include <functional>
#include <stdexcept>

namespace qtui {

namespace {

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

QColor colour(const core::Rgb& c) {
  return QColor(c.r, c.g, c.b);
}

QString css(const core::Rgb& c) {
  return QString("rgb(%1,%2,%3)").arg(c.r).arg(c.g).arg(c.b);
}

// Fonts the design names that a Linux desk seldom has, and their metric-compatible stand-ins
// (same advance widths), so captions fit their controls as designed.
struct FontFallback {
  const char* face;
  QStringList families;
  QFont::StyleHint hint;
};

const std::vector<FontFallback>& fontFallbacks() {
  static const std::vector<FontFallback> table = {
      {"Tahoma", {"Tahoma", "DejaVu Sans"}, QFont::SansSerif},
      {"Courier New",
       {"Courier New", "Liberation Mono", "Cousine", "DejaVu Sans Mono"},
       QFont::TypeWriter},
  };
  return table;
}

// Wine ships a Tahoma drawn to the original's metrics (Debian package fonts-wine) but does
// not hand it to fontconfig; the application registers it itself when the system lacks one.
// Only the regular face: Wine's bold one renders with hairline strokes, while the bold that
// Qt derives from the regular face reads as bold and keeps within the designed widths.
void registerTahoma() {
  static const bool done = [] {
    const char* file = "/usr/share/wine/fonts/tahoma.ttf";
    if (!QFontDatabase::hasFamily("Tahoma") && QFile::exists(file))
      QFontDatabase::addApplicationFont(file);
    return true;
  }();
  (void)done;
}

QFont makeFont(const core::Font& design) {
  QFont font;
  QStringList families{qs(design.face)};
  for (const auto& f : fontFallbacks())
    if (design.face == f.face) {
      families = f.families;
      font.setStyleHint(f.hint);
    }
  font.setFamilies(families);
  // Pixels at 96 dpi: Qt scales device-independent pixels to the screen, so the text keeps
  // its size relative to the controls on any screen.
  font.setPixelSize(design.pixels);
  font.setBold(design.bold);
  return font;
}

// The typing limit of a field: every edit that inserts text is judged by core::typingAllowed,
// deletions always pass, and text set by the program is taken whole. (QLineEdit::setMaxLength
// would cut a longer text from the command line.)
class TypingLimit : public QValidator {
 public:
  TypingLimit(QLineEdit* edit, int maxLength) : QValidator(edit), maxLength_(maxLength) {
    QObject::connect(edit, &QLineEdit::textChanged, this,
                     [this](const QString& t) { accepted_ = t; });
  }

  State validate(QString& input, int&) const override {
    if (programSetsText_) return Acceptable;
    // The inserted characters are what the new text holds between the prefix and suffix it
    // shares with the last accepted one.
    const auto oldText = accepted_.toUcs4();
    const auto newText = input.toUcs4();
    qsizetype prefix = 0;
    while (prefix < oldText.size() && prefix < newText.size() && oldText[prefix] == newText[prefix])
      ++prefix;
    qsizetype suffix = 0;
    while (suffix < oldText.size() - prefix && suffix < newText.size() - prefix &&
           oldText[oldText.size() - 1 - suffix] == newText[newText.size() - 1 - suffix])
      ++suffix;
    const auto inserted = static_cast<std::size_t>(newText.size() - prefix - suffix);
    return core::typingAllowed(maxLength_, inserted, static_cast<std::size_t>(newText.size()))
               ? Acceptable
               : Invalid;
  }

  void setByProgram(QLineEdit* edit, const QString& text) {
    // A text the validator refused would mark the field's input invalid, and Qt then lets
    // the next keystroke through unjudged; the program's text is always taken.
    programSetsText_ = true;
    edit->setText(text);
    programSetsText_ = false;
    accepted_ = text;
  }

 private:
  int maxLength_;
  QString accepted_;
  bool programSetsText_ = false;
};

// The Windows modifier state of a key event.
unsigned shiftState(Qt::KeyboardModifiers modifiers) {
  unsigned shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= core::kShift;
  if (modifiers & Qt::AltModifier) shift |= core::kAlt;
  if (modifiers & Qt::ControlModifier) shift |= core::kCtrl;
  return shift;
}

}  // namespace

std::uint16_t virtualKey(int key) {
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return static_cast<std::uint16_t>(112 + key - Qt::Key_F1);
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
    return static_cast<std::uint16_t>(key);  // Qt uses the ASCII codes, as Windows does
  switch (key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Pause:
      return 19;
    case Qt::Key_CapsLock:
      return 20;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    default:
      return 0;
  }
}

std::string displayText(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
    } else if (i + 1 >= text.size() || text[i + 1] != '\n') {
      out += '\n';
    }
  }
  return out;
}

// The top-level widget: reports activations, and closes only when the program ends (the
// window has no close button; F4 and "Sair" end it). Many X11 desks take Alt+F4 for
// themselves and ask the window to close instead; that request is handed on as the Alt+F4
// key-down it stands for, so it ends the program exactly where the key would.
class FormWidget : public QWidget {
 public:
  std::function<void()> onActivate;
  std::function<void()> onCloseRequest;

  FormWidget() : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {}

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::WindowActivate && onActivate) onActivate();
    return QWidget::event(e);
  }
  void closeEvent(QCloseEvent* e) override {
    e->ignore();
    if (onCloseRequest) onCloseRequest();
  }
};

// Key preview is off: a key-down reaches only the handler of the control holding the focus,
// or the window's own while no control holds it. Installed on every control and the window;
// the key events Qt passes on to the parents are not delivered again.
class KeyRouter : public QObject {
 public:
  explicit KeyRouter(Window& window) : window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() != QEvent::KeyPress || window_.dispatcher_ == nullptr) return false;
    QWidget* focus = QApplication::focusWidget();
    const bool target = focus != nullptr ? watched == focus : watched == window_.widget();
    if (!target) return false;

    auto* key = static_cast<QKeyEvent*>(e);
    const std::uint16_t vk = virtualKey(key->key());
    if (vk != 0 &&
        !window_.keyDown(static_cast<QWidget*>(watched), vk, shiftState(key->modifiers())))
      return false;

    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages wherever the focus is, as on Windows.
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
        (key->modifiers() & Qt::ControlModifier)) {
      const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
      window_.turnPage(back ? -1 : 1);
      return true;
    }

    // Alt with a character is a menu key on Windows: it clicks an accelerator or does
    // nothing, and never types into a field.
    const bool altOnly =
        (key->modifiers() & Qt::AltModifier) && !(key->modifiers() & Qt::ControlModifier);
    if (altOnly && vk != 0 && vk >= '0' && vk <= 'Z') {
      window_.clickAccelerator(static_cast<char>(vk));
      return true;
    }
    return false;
  }

 private:
  Window& window_;
};

// --- controls -----------------------------------------------------------------------------

int PickList::selectedIndex() const {
  return box_->currentIndex();
}

void PickList::setSelectedIndex(int index) {
  const QSignalBlocker quiet(box_);  // a selection set by the program is no change
  box_->setCurrentIndex(index >= 0 && index < box_->count() ? index : -1);
}

std::string PickList::text() const {
  return box_->currentIndex() < 0 ? std::string() : box_->currentText().toStdString();
}

bool PickList::enabled() const {
  return box_->isEnabled();
}

void PickList::setEnabled(bool enabled) {
  box_->setEnabled(enabled);
}

std::string TextField::text() const {
  return edit_->text().toStdString();
}

void TextField::setText(const std::string& text) {
  if (auto* limit = dynamic_cast<TypingLimit*>(const_cast<QValidator*>(edit_->validator())))
    limit->setByProgram(edit_, qs(text));
  else
    edit_->setText(qs(text));
  edit_->setCursorPosition(0);  // a text longer than the field shows its beginning
}

bool TextField::enabled() const {
  return edit_->isEnabled();
}

void TextField::setEnabled(bool enabled) {
  edit_->setEnabled(enabled);
}

void TextField::setFocus() {
  const std::string page = core::pageOf(window_.design(), window_.nameOf(edit_));
  if (!page.empty()) window_.showPage(page);
  edit_->setFocus(Qt::OtherFocusReason);
}

// --- window -------------------------------------------------------------------------------

Window::Window(const core::FormDesign& design)
    : design_(design),
      caption_(design.caption),
      form_(std::make_unique<FormWidget>()),
      router_(std::make_unique<KeyRouter>(*this)) {
  build();
}

Window::~Window() {
  form_->onActivate = nullptr;
  // The controls go with the form; the router must not see their last events.
  for (auto& [name, w] : widgets_) w->removeEventFilter(router_.get());
  form_->removeEventFilter(router_.get());
}

QWidget* Window::widget() const {
  return form_.get();
}

QWidget* Window::control(std::string_view name) const {
  auto it = widgets_.find(name);
  return it == widgets_.end() ? nullptr : it->second;
}

std::string Window::nameOf(const QWidget* widget) const {
  for (const auto& [name, w] : widgets_)
    if (w == widget) return name;
  return {};
}

void Window::build() {
  registerTahoma();
  QWidget* form = form_.get();
  form->setWindowTitle(qs(caption_));
  form->setFont(makeFont(design_.font));
  if (design_.sizeIsClient) {
    form->resize(design_.width, design_.height);
  } else {
    // The design measures the whole window: take off the default sizeable frame of Windows
    // at 96 dpi (8 pixels each side, a 23-pixel caption bar above the top frame).
    form->resize(design_.width - 16, design_.height - 39);
  }

  const auto& look = design_.look;
  for (const auto& c : design_.controls) {
    QWidget* parent = c.parent.empty() ? form : control(c.parent);
    if (parent == nullptr) throw std::logic_error("the design names no parent " + c.parent);
    QWidget* w = nullptr;
    switch (c.kind) {
      case core::ControlKind::PageControl: {
        auto* tabs = new QTabWidget(parent);
        tabs->setFocusPolicy(Qt::NoFocus);
        tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
        tabs->setDocumentMode(false);
        QString tabHeight =
            look.tabHeight > 0 ? QString("height: %1px;").arg(look.tabHeight - 3) : QString();
        tabs->setStyleSheet(
            QString("QTabWidget::pane { background: %1; border: 1px solid %2; top: -1px; }"
                    "QTabBar::tab { background: %3; border: 1px solid %2; border-bottom: none;"
                    " padding: 0px 6px; margin-top: 2px; margin-right: 1px; %4 }"
                    "QTabBar::tab:selected { background: %1; border-top: 3px solid %5;"
                    " margin-top: 0px; }")
                .arg(css(look.body), css(look.border), QColor(colour(look.body)).darker(106).name(),
                     tabHeight, css(look.selectedBar)));
        if (pages_ == nullptr) pages_ = tabs;
        QObject::connect(tabs, &QTabWidget::currentChanged, form,
                         [this](int index) { pageSwitched(index); });
        w = tabs;
        break;
      }
      case core::ControlKind::TabSheet: {
        auto* tabs = qobject_cast<QTabWidget*>(parent);
        if (tabs == nullptr)
          throw std::logic_error("tab sheet " + c.name + " outside a page control");
        auto* page = new QWidget;
        page->setAutoFillBackground(true);
        QPalette palette = page->palette();
        palette.setColor(QPalette::Window, colour(look.body));
        page->setPalette(palette);
        const QSignalBlocker quiet(tabs);
        tabs->addTab(page, qs(c.caption));
        w = page;
        break;
      }
      case core::ControlKind::GroupBox:
        w = new QGroupBox(qs(c.caption), parent);
        break;
      case core::ControlKind::Label: {
        auto* label = new QLabel(qs(c.caption), parent);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        w = label;
        break;
      }
      case core::ControlKind::Edit: {
        auto* edit = new QLineEdit(parent);
        if (c.maxLength > 0) edit->setValidator(new TypingLimit(edit, c.maxLength));
        fields_.emplace(c.name, std::make_unique<TextField>(*this, edit));
        fields_[c.name]->setText(c.caption);
        w = edit;
        break;
      }
      case core::ControlKind::Button: {
        auto* button = new QPushButton(qs(c.caption), parent);
        // The caption underlines its accelerator, but the click by Alt+letter is our own
        // (only on the page shown), so Qt's mnemonic shortcut is taken off again.
        button->setShortcut(QKeySequence());
        // Enter and Space click the button holding the focus; no button is the default, so
        // Enter elsewhere clicks nothing.
        button->setAutoDefault(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setAttribute(Qt::WA_Hover);
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, colour(look.buttonFace));
        button->setPalette(palette);
        const std::string name = c.name;
        QObject::connect(button, &QPushButton::clicked, form, [this, name] {
          if (dispatcher_ != nullptr) dispatcher_->click(name);
        });
        w = button;
        break;
      }
      case core::ControlKind::PickList: {
        auto* box = new QComboBox(parent);
        box->setEditable(false);  // the operator picks an item, never types one
        for (const auto& item : c.items) box->addItem(qs(item));
        box->setCurrentIndex(-1);
        box->setCursor(Qt::PointingHandCursor);
        lists_.emplace(c.name, std::make_unique<PickList>(box));
        const std::string name = c.name;
        QObject::connect(box, &QComboBox::currentIndexChanged, form,
                         [this, name](int) { routeChange(name); });
        w = box;
        break;
      }
    }
    w->setObjectName(qs(c.name));
    w->setFont(makeFont(c.font));
    if (c.kind != core::ControlKind::TabSheet)
      w->setGeometry(c.bounds.left, c.bounds.top, c.bounds.width, c.bounds.height);
    w->installEventFilter(router_.get());
    widgets_.emplace(c.name, w);
  }
  form->installEventFilter(router_.get());

  // The tab order: depth first through pages and group boxes, each level in design order.
  std::vector<QWidget*> chain;
  std::function<void(const std::string&)> walk = [&](const std::string& parent) {
    for (const auto* c : design_.children(parent)) {
      if (c->kind == core::ControlKind::Edit || c->kind == core::ControlKind::Button ||
          c->kind == core::ControlKind::PickList) {
        if (c->tabOrder >= 0)
          chain.push_back(control(c->name));
        else
          control(c->name)->setFocusPolicy(Qt::ClickFocus);
      }
      walk(c->name);
    }
  };
  walk("");
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

ui::PickList& Window::pickList(std::string_view name) {
  return ui::controlNamed(lists_, name, "pick list");
}

ui::TextField& Window::textField(std::string_view name) {
  return ui::controlNamed(fields_, name, "edit field");
}

void Window::setCaption(const std::string& caption) {
  caption_ = caption;
  form_->setWindowTitle(qs(caption));
}

void Window::attach(core::Dispatcher& dispatcher) {
  dispatcher_ = &dispatcher;
  form_->onActivate = [this] { dispatcher_->activate(); };
  form_->onCloseRequest = [this] {
    QWidget* focus = QApplication::focusWidget();
    keyDown(focus != nullptr ? focus : form_.get(), core::kKeyF4, core::kAlt);
  };
}

bool Window::keyDown(QWidget* target, std::uint16_t key, unsigned shift) {
  if (dispatcher_ == nullptr) return false;
  std::string name;
  if (target != form_.get()) {
    name = nameOf(target);
    if (name.empty()) return false;  // not a control of this window
  }
  dispatcher_->keyDown(name, key, shift);
  return true;
}

std::string Window::currentPage() const {
  if (pages_ == nullptr || pages_->currentWidget() == nullptr) return {};
  return nameOf(pages_->currentWidget());
}

void Window::showPage(const std::string& page) {
  if (pages_ == nullptr) return;
  if (QWidget* w = control(page); w != nullptr && pages_->indexOf(w) >= 0)
    pages_->setCurrentWidget(w);
}

void Window::focusFirstOf(const std::string& page) {
  const std::string first = core::firstFocusable(design_, page, [this](std::string_view name) {
    QWidget* w = control(name);
    return w != nullptr && w->isEnabled();
  });
  if (!first.empty()) control(first)->setFocus(Qt::OtherFocusReason);
}

void Window::present() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    const QRect area = screen->availableGeometry();
    form_->move(area.center() - QPoint(form_->width() / 2, form_->height() / 2));
  }
  const std::string page = currentPage();
  focusFirstOf(page);
  form_->show();
  form_->raise();
  form_->activateWindow();
}

void Window::routeChange(const std::string& name) {
  if (dispatcher_ != nullptr) dispatcher_->change(name);
}

// Switching tabs while the focus lies on the old page moves it to the first control of the
// new one (Qt would give it back to the control that last had it there).
void Window::pageSwitched(int index) {
  QWidget* page = pages_->widget(index);
  QWidget* focus = form_->focusWidget();
  if (page == nullptr || focus == nullptr) return;
  if (focus == page || page->isAncestorOf(focus)) focusFirstOf(nameOf(page));
}

void Window::turnPage(int step) {
  if (pages_ == nullptr || pages_->count() < 2) return;
  pages_->setCurrentIndex((pages_->currentIndex() + step + pages_->count()) % pages_->count());
}

bool Window::clickAccelerator(char key) {
  const std::string shown = currentPage();
  for (const auto& c : design_.controls) {
    if (c.kind != core::ControlKind::Button || core::accelerator(c.caption) != key) continue;
    const std::string page = core::pageOf(design_, c.name);
    if (!page.empty() && page != shown) continue;
    if (!control(c.name)->isEnabled()) continue;
    dispatcher_->click(c.name);
    return true;
  }
  return false;
}

// --- application --------------------------------------------------------------------------

Application::Application() {
  static char name[] = "quolt_autenticador";
  argv_[0] = name;
  argv_[1] = nullptr;
  if (QApplication::instance() == nullptr) {
    // Qt sees no argument of the host: a text such as "-reverse" is the operator's, not Qt's.
    qt_ = std::make_unique<QApplication>(argc_, argv_);
  }
  // The loop ends by the Exit button alone; the error box that closes before the window
  // appears is no last window.
  QApplication::setQuitOnLastWindowClosed(false);
  if (QStyle* fusion = QStyleFactory::create("Fusion")) QApplication::setStyle(fusion);
}

Application::~Application() {
  window_.reset();
}

void Application::showBox(int icon, const std::string& caption, const std::string& text) {
  QWidget* owner =
      window_ != nullptr && window_->widget()->isVisible() ? window_->widget() : nullptr;
  QMessageBox box(static_cast<QMessageBox::Icon>(icon), qs(caption), qs(displayText(text)),
                  QMessageBox::Ok, owner);
  box.setTextFormat(Qt::PlainText);
  box.setWindowModality(Qt::ApplicationModal);
  box.setDefaultButton(QMessageBox::Ok);  // Enter
  box.setEscapeButton(QMessageBox::Ok);   // Esc
  box.exec();
  // The focus goes back to the window, as Windows gives it back to a box's owner; not every
  // X11 desk (nor one without a window manager) does so by itself.
  if (owner != nullptr && owner->isVisible()) owner->activateWindow();
}

void Application::showMessage(const std::string& text) {
  showBox(QMessageBox::NoIcon, title_, text);
}

void Application::messageDlg(const std::string& text, ui::DialogType type) {
  if (type == ui::DialogType::Error)
    showBox(QMessageBox::Critical, "Error", text);
  else
    showBox(QMessageBox::Information, "Information", text);
}

void Application::showErrorBox(const std::string& text) {
  showBox(QMessageBox::Critical, title_, text);
}

ui::Window& Application::createWindow(const core::FormDesign& design) {
  window_ = std::make_unique<Window>(design);
  return *window_;
}

void Application::present(core::Dispatcher& dispatcher) {
  window_->attach(dispatcher);
  dispatcher.show();  // still invisible: an error box here comes before the window
  window_->present();
}

void Application::run(core::Dispatcher& dispatcher) {
  present(dispatcher);
  if (terminated_) return;
  QEventLoop loop;
  loop_ = &loop;
  loop.exec();
  loop_ = nullptr;
}

void Application::terminate() {
  // Takes effect when the running handler has returned to the loop.
  terminated_ = true;
  if (loop_ != nullptr) loop_->exit(0);
}

}  // namespace qtui
