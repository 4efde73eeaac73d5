#include "config/config_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

std::optional<std::string>& DirectoryOverride() {
  static std::optional<std::string> directory;
  return directory;
}

QString Native(const std::string& path) {
  return QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
}

}  // namespace

void SetProgramDirectoryOverride(std::optional<std::string> directory) {
  DirectoryOverride() = std::move(directory);
}

std::string ProgramDirectory() {
  if (DirectoryOverride()) return *DirectoryOverride();
  return QCoreApplication::applicationDirPath().toStdString();
}

std::string ConfigPath() {
  return QDir(Native(ProgramDirectory())).filePath(QStringLiteral("config.ini")).toStdString();
}

bool EntryExists(const std::string& path) {
  const QFileInfo info(Native(path));
  return info.exists() || info.isSymLink();
}

std::string ReadWholeFile(const std::string& path) {
  QFile file(Native(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) return {};
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  const QString name = Native(path);
  const QFileInfo existing(name);
  // QSaveFile asks the system whether the file is writable, and the system
  // says yes to the administrator even for a read-only file; the new file
  // would then simply replace it. A file that grants nobody write access is
  // read-only here, as the read-only attribute is on Windows.
  constexpr QFileDevice::Permissions kAnyWrite =
      QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
  if (existing.exists() && !existing.isDir() && !(existing.permissions() & kAnyWrite)) return false;

  QSaveFile file(name);
  // Without leave to create the temporary file in the folder, write the file
  // in place, which is all such a folder allows.
  file.setDirectWriteFallback(true);
  if (!file.open(QIODevice::WriteOnly)) return false;  // also a directory at `path`
  const auto size = static_cast<qint64>(bytes.size());
  if (file.write(bytes.data(), size) != size) {
    file.cancelWriting();  // the temporary file goes with `file`
    return false;
  }
  return file.commit();
}
