#include "platform/PushButton.h"

#include <QPushButton>
#include <QShortcut>

#include "platform/PropertyTable.h"
#include "platform/qt/ControlPeer.h"

namespace platform {
namespace {

QPushButton& Widget(const PushButton& button) {
  return static_cast<QPushButton&>(*button.ControlPeer().widget);
}

}  // namespace

const ClassInfo& PushButton::Class() {
  static const ClassInfo& info = []() -> const ClassInfo& {
    std::vector<PropertyInfo> properties = {StoredProperty("MacButtonStyle", ValueType::Integer),
                                            Property("Cancel", &PushButton::SetCancel),
                                            Property("Caption", &PushButton::SetCaption),
                                            Property("Default", &PushButton::SetDefault)};
    for (auto& p : FontProperties()) properties.push_back(std::move(p));
    return RegisterClass({.name = "PushButton",
                          .base = &RectControl::Class(),
                          .events = {{"Action", "", ""}},
                          .properties = std::move(properties)});
  }();
  return info;
}

PushButton::PushButton() : TextControl(std::make_unique<Peer>(new QPushButton)) {
  auto& widget = Widget(*this);
  // Return presses only the default button, not whichever button has the focus.
  widget.setAutoDefault(false);
  QObject::connect(&widget, &QPushButton::clicked, [this] { RaiseAction(); });
}

std::string PushButton::Caption() const { return Widget(*this).text().toStdString(); }

void PushButton::SetCaption(const std::string& caption) {
  RequireMainThread("PushButton.Caption");
  Widget(*this).setText(QString::fromStdString(caption));
}

void PushButton::SetDefault(bool isDefault) {
  default_ = isDefault;
  Widget(*this).setDefault(isDefault);
}

void PushButton::SetCancel(bool isCancel) {
  cancel_ = isCancel;
  auto& widget = Widget(*this);
  auto* escape = widget.findChild<QShortcut*>(QStringLiteral("cancel"));
  if (isCancel && !escape) {
    escape = new QShortcut(QKeySequence(Qt::Key_Escape), &widget);
    escape->setObjectName(QStringLiteral("cancel"));
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, &widget, &QPushButton::click);
  }
  if (escape) escape->setEnabled(isCancel);
}

void PushButton::Push() { Widget(*this).click(); }

void PushButton::RaiseAction() { Raise<void>("Action", *this); }

void PushButton::RaiseOpen() { Raise<void>("Open", *this); }

}  // namespace platform
