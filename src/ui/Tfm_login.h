#pragma once
// The login window: borderless, always on top, its own top-level window. Closing it by any
// means hides it and tells the host, which ends the program.

#include <QWidget>

#include <functional>

class Tfm_login : public QWidget {
  Q_OBJECT

 public:
  using Notify = std::function<void(QObject* sender)>;

  explicit Tfm_login(QWidget* parent = nullptr);

  bool isLogout = false;  // set by the host: no automatic login after a logout or failed start
  Notify FOKLogin;
  Notify FFormClose;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
};
