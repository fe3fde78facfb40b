#pragma once
// Helpers for tests that drive modal windows: act on the dialog once its loop runs.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace azu::test {

// Calls `action` with the active modal window as soon as one is shown (polling the event loop).
inline void WhenModalShown(std::function<void(QWidget*)> action, int attemptsLeft = 2000) {
  QTimer::singleShot(5, [action = std::move(action), attemptsLeft]() mutable {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible()) {
      action(modal);
    } else if (attemptsLeft > 0) {
      WhenModalShown(std::move(action), attemptsLeft - 1);
    }
  });
}

// Calls `action` with the open popup menu as soon as one is shown.
inline void WhenPopupShown(std::function<void(QWidget*)> action, int attemptsLeft = 2000) {
  QTimer::singleShot(5, [action = std::move(action), attemptsLeft]() mutable {
    QWidget* popup = QApplication::activePopupWidget();
    if (popup != nullptr && popup->isVisible()) {
      action(popup);
    } else if (attemptsLeft > 0) {
      WhenPopupShown(std::move(action), attemptsLeft - 1);
    }
  });
}

}  // namespace azu::test
