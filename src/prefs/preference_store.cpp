#include "prefs/preference_store.h"

#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace brindle {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Value names may hold characters QSettings treats specially ("/" separates groups, a trailing
// space would be trimmed by hand editors); percent-encoding every name keeps each one exact and
// distinct.
QString EncodeName(std::string_view name) {
  return QString::fromLatin1(
      QByteArray(name.data(), static_cast<qsizetype>(name.size())).toPercentEncoding("_-."));
}

std::string DecodeName(const QString& encoded) {
  return QByteArray::fromPercentEncoding(encoded.toLatin1()).toStdString();
}

// Opens the store for one operation; closed (and written out) when it goes out of scope.
class OpenKey {
 public:
  OpenKey(const std::filesystem::path& file, std::string_view key_path)
      : settings_(QString::fromStdString(file.string()), QSettings::IniFormat) {
    if (!key_path.empty()) settings_.beginGroup(EncodeName(key_path));
  }
  QSettings& operator*() { return settings_; }
  QSettings* operator->() { return &settings_; }
  bool Flush() {
    settings_.sync();
    return settings_.status() == QSettings::NoError;
  }

 private:
  QSettings settings_;
};

std::filesystem::path DefaultStoreFile() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (folder.isEmpty()) folder = QStringLiteral(".");
  return std::filesystem::path(folder.toStdString()) / "Brindle" / "Brindle.ini";
}

}  // namespace

PreferenceStore::PreferenceStore() : file_(DefaultStoreFile()) {}

PreferenceStore::PreferenceStore(std::filesystem::path file) : file_(std::move(file)) {}

bool PreferenceStore::ReadText(std::string_view key_path, std::string_view name,
                               std::string& value) const {
  OpenKey key(file_, key_path);
  QVariant stored = key->value(EncodeName(name));
  if (!stored.isValid()) return false;
  value = stored.toString().toStdString();
  return true;
}

bool PreferenceStore::ReadNumber(std::string_view key_path, std::string_view name,
                                 std::uint32_t& value) const {
  OpenKey key(file_, key_path);
  QVariant stored = key->value(EncodeName(name));
  if (!stored.isValid()) return false;
  bool ok = false;
  qlonglong number = stored.toString().toLongLong(&ok);
  if (!ok || number < INT32_MIN || number > static_cast<qlonglong>(UINT32_MAX)) return false;
  value = static_cast<std::uint32_t>(number);
  return true;
}

bool PreferenceStore::WriteText(std::string_view key_path, std::string_view name,
                                std::string_view value) const {
  OpenKey key(file_, key_path);
  key->setValue(EncodeName(name), ToQString(value));
  return key.Flush();
}

bool PreferenceStore::WriteNumber(std::string_view key_path, std::string_view name,
                                  std::uint32_t value) const {
  OpenKey key(file_, key_path);
  key->setValue(EncodeName(name), static_cast<qlonglong>(value));
  return key.Flush();
}

bool PreferenceStore::DeleteValue(std::string_view key_path, std::string_view name) const {
  OpenKey key(file_, key_path);
  QString encoded = EncodeName(name);
  if (!key->contains(encoded)) return false;
  key->remove(encoded);
  return key.Flush();
}

std::vector<std::string> PreferenceStore::ValueNames(std::string_view key_path) const {
  OpenKey key(file_, key_path);
  std::vector<std::string> names;
  for (const QString& encoded : key->childKeys()) names.push_back(DecodeName(encoded));
  return names;
}

std::int32_t PreferenceStore::NumberOr(std::string_view name, std::int32_t fallback) const {
  std::uint32_t value = 0;
  return ReadNumber("", name, value) ? static_cast<std::int32_t>(value) : fallback;
}

std::string PreferenceStore::TextOr(std::string_view name, std::string_view fallback) const {
  std::string value;
  return ReadText("", name, value) ? value : std::string(fallback);
}

}  // namespace brindle
