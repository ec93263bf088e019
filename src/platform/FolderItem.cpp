#include "platform/FolderItem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/Sound.h"

namespace platform {
namespace {

std::string& ExecutableOverride() {
  static std::string path;
  return path;
}

}  // namespace

const ClassInfo& FolderItem::Class() {
  static const ClassInfo& info = RegisterClass({.name = "FolderItem", .base = &Object::Class()});
  return info;
}

std::string FolderItem::Name() const {
  return QFileInfo(QString::fromStdString(path_)).fileName().toStdString();
}

bool FolderItem::Exists() const { return QFileInfo::exists(QString::fromStdString(path_)); }

Ref<FolderItem> FolderItem::Parent() const {
  const QFileInfo info(QString::fromStdString(path_));
  const QString parent = info.absolutePath();
  if (info.absoluteFilePath() == parent) return nullptr;  // the root has no parent
  return New<FolderItem>(QDir::cleanPath(parent).toStdString());
}

Ref<FolderItem> FolderItem::Child(const std::string& name, bool resolveAlias) const {
  // A name is one path component; anything else would reach outside the folder.
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
    return nullptr;
  }
  const QString path = QDir(QString::fromStdString(path_)).filePath(QString::fromStdString(name));
  const QFileInfo info(path);
  if (!info.exists() && !info.isSymLink()) return nullptr;
  if (resolveAlias && info.isSymLink()) {
    if (!info.exists()) return nullptr;  // a link to nothing
    return New<FolderItem>(info.canonicalFilePath().toStdString());
  }
  return New<FolderItem>(path.toStdString());
}

Ref<Sound> FolderItem::OpenAsSound() const { return Sound::Open(path_); }

Ref<FolderItem> ApplicationExecutable() {
  const std::string& override = ExecutableOverride();
  if (!override.empty()) return New<FolderItem>(override);
  if (!QCoreApplication::instance()) return nullptr;
  return New<FolderItem>(QCoreApplication::applicationFilePath().toStdString());
}

Ref<FolderItem> GetApplicationBundleResources_() {
  const Ref<FolderItem> executable = ApplicationExecutable();
  const Ref<FolderItem> bin = executable->Parent();
  const Ref<FolderItem> bundle = bin->Parent();
  return bundle->Child("Resources", true);
}

namespace detail {

void SetApplicationExecutable(const std::string& path) { ExecutableOverride() = path; }

}  // namespace detail

}  // namespace platform
