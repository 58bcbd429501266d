#pragma once

#include <functional>
#include <memory>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// Acts on modal dialogs (or popup menus) of type T that the code under test opens with exec(),
// for as long as the watcher lives: polls until such a widget is visible and active, then calls
// `action` on it. If none has appeared within `timeoutMs`, it closes whatever modal widget is
// open, so that a test fails instead of hanging.
template <typename T>
class WhenShown {
 public:
  explicit WhenShown(std::function<void(T*)> action, int timeoutMs = 5000)
      : m_action(std::move(action)), m_timeoutMs(timeoutMs), m_timer(std::make_unique<QTimer>()) {
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] { Poll(); });
    m_timer->start(kInterval);
  }
  WhenShown(const WhenShown&) = delete;
  WhenShown& operator=(const WhenShown&) = delete;

  // How many times the action ran.
  int Count() const { return m_count; }

 private:
  static constexpr int kInterval = 10;

  void Poll() {
    QWidget* candidate = QApplication::activePopupWidget();
    if (qobject_cast<T*>(candidate) == nullptr) candidate = QApplication::activeModalWidget();
    T* widget = qobject_cast<T*>(candidate);
    if (widget != nullptr && widget->isVisible() && widget != m_last) {
      m_last = widget;
      ++m_count;
      m_timer->stop();
      m_action(widget);
      m_timer->start(kInterval);
      return;
    }
    m_elapsed += kInterval;
    if (m_count == 0 && m_elapsed >= m_timeoutMs) {
      m_timer->stop();
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialog->reject();
      }
      if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    }
  }

  std::function<void(T*)> m_action;
  int m_timeoutMs;
  int m_count = 0;
  int m_elapsed = 0;
  QPointer<QWidget> m_last;
  std::unique_ptr<QTimer> m_timer;
};
