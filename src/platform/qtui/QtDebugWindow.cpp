#include "platform/qtui/QtDebugWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QThread>
#include <QVBoxLayout>

#include "platform/DebugView.h"

namespace platform {
namespace {

// Read-only trace area; Ctrl+A selects all only with Ctrl as the sole modifier.
class MemoEdit : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_A && event->modifiers().testFlag(Qt::ControlModifier)) {
      if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) selectAll();
      event->accept();
      return;
    }
    QPlainTextEdit::keyPressEvent(event);
  }
};

class DebugWindowWidget : public QWidget {
 public:
  explicit DebugWindowWidget(std::function<void()> onClear) {
    setObjectName(QStringLiteral("TDebugWindow"));
    setWindowTitle(QStringLiteral("디버그 메세지 확인창"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setAttribute(Qt::WA_QuitOnClose, false);  // closing only hides it; it never ends the program

    memo_ = new MemoEdit(this);
    memo_->setObjectName(QStringLiteral("MemoMsg"));
    memo_->setReadOnly(true);
    memo_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo_->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu"));
    QAction* clear = popup->addAction(QStringLiteral("Clear"));
    clear->setObjectName(QStringLiteral("Clear1"));
    connect(clear, &QAction::triggered, this, [onClear = std::move(onClear)] { onClear(); });
    connect(memo_, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& at) { popup->popup(memo_->mapToGlobal(at)); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(memo_);
    resize(491, 260);
  }

  void appendLines(const QStringList& lines) {
    for (const QString& line : lines) memo_->appendPlainText(line);
  }
  void clearLines() { memo_->clear(); }

 private:
  MemoEdit* memo_ = nullptr;
};

class QtDebugView : public DebugView {
 public:
  explicit QtDebugView(DebugWindowWidget* window) : window_(window) {}

  ~QtDebugView() override {
    // After the application is gone the process is ending; the window goes with it.
    if (!window_ || !QCoreApplication::instance()) return;
    if (QThread::currentThread() == window_->thread())
      delete window_.data();
    else
      window_->deleteLater();
  }

  // Always queued, even on the window's own thread, so lines added from other threads just
  // before keep their place.
  void AppendLines(const QStringList& lines) override {
    if (!window_) return;
    QMetaObject::invokeMethod(window_.data(), [w = window_, lines] { if (w) w->appendLines(lines); },
                              Qt::QueuedConnection);
  }
  void Clear() override {
    if (!window_) return;
    QMetaObject::invokeMethod(window_.data(), [w = window_] { if (w) w->clearLines(); }, Qt::QueuedConnection);
  }

 private:
  QPointer<DebugWindowWidget> window_;
};

std::unique_ptr<DebugView> createOnUiThread(std::function<void()> onClear) {
  DebugWindowWidget* window = nullptr;
  auto create = [&] {
    window = new DebugWindowWidget(std::move(onClear));
    window->show();
  };
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return nullptr;
  if (QThread::currentThread() == app->thread())
    create();
  else
    QMetaObject::invokeMethod(app, create, Qt::BlockingQueuedConnection);
  return std::make_unique<QtDebugView>(window);
}

}  // namespace

void InstallQtDebugWindow() { SetDebugViewFactory(createOnUiThread); }

}  // namespace platform
