#pragma once

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <memory>
#include <vector>

#include "platform/MenuItem.h"

namespace platform {

// An entry is drawn by one QAction; a menu also has the QMenu that the action
// opens.
struct MenuItem::Peer {
  std::unique_ptr<QAction> action;
  std::unique_ptr<QMenu> menu;
  // A bar is drawn by one QMenuBar in each window that shows it.
  std::vector<QPointer<QWidget>> views;
};

// Makes the shortcuts of the item and of those below it work in the window.
void AttachShortcuts(const MenuItem& item, QWidget& window);

}  // namespace platform
