#pragma once
// The controller: the hidden main window that owns the session. It is never shown; the
// operator sees the login window, the waiting widget and the tray icon.

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class SingleInstance;
class Tdm;
class Tfm_login;

class Tfm_orderFake : public QWidget {
  Q_OBJECT

 public:
  // Message number a second copy sends to the running one.
  static constexpr quint32 WM_SHOW_INSTANCE = 0x40C;
  // Starts a fresh copy of the program; false when it could not be started.
  using Restarter = std::function<bool()>;

  Tfm_orderFake(Tdm& dm, SingleInstance& instance, QWidget* parent = nullptr);
  ~Tfm_orderFake() override;

  // The creation step: error log, log clean-up, escape handler, timers, data folder, login.
  void FormCreate();
  void ShowLoginForm();
  // Exit: ends the application.
  void SendForm_Close(QObject* sender);
  // A second copy was started.
  void WMShowInstance();

  void SetRestarter(Restarter restarter) { restarter_ = std::move(restarter); }
  Tfm_login* LoginForm() const { return login_.get(); }

  bool isLogout = false;
  bool isThreadRun = false;
  QTimer Timer_autotop;
  QTimer Timer_conn;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Initialize();
  void FExceptionEvent(QObject* sender, const QString& message);
  void OnInstanceMessage(quint32 message);
  void Restart();

  Tdm& dm_;
  SingleInstance& instance_;
  Restarter restarter_;
  std::unique_ptr<Tfm_login> login_;  // one login window for the whole process, no owner
};
