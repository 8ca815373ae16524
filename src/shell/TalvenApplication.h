#pragma once
// The application object. Exceptions that escape an event handler end here instead of
// unwinding through the event loop, once the controller has set its escape handler.

#include <QApplication>
#include <QString>

#include <functional>

class TalvenApplication : public QApplication {
  Q_OBJECT

 public:
  // receiver: the object whose event handler raised; message: what the exception said.
  using EscapeHandler = std::function<void(QObject* receiver, const QString& message)>;

  TalvenApplication(int& argc, char** argv);

  void SetEscapeHandler(EscapeHandler handler) { escape_ = std::move(handler); }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  EscapeHandler escape_;
};
