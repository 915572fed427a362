#include "app/ini_file.h"

#include "storage/safe_save.h"

#include <QFile>
// The packaged library is built with the ICU converter; the header must agree with it.
#define SI_CONVERT_ICU
#include <SimpleIni.h>

namespace tw {

struct IniFile::Data {
    CSimpleIniA ini{true, false, false};  // UTF-8, single keys, no multi-line values
};

IniFile::IniFile(QString path) : path_(std::move(path)), data_(std::make_unique<Data>()) {
    data_->ini.SetSpaces(false);
    QFile file(path_);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        data_->ini.LoadData(bytes.constData(), static_cast<size_t>(bytes.size()));
    }
}

IniFile::~IniFile() = default;

QString IniFile::readText(const QString& section, const QString& key, const QString& fallback) const {
    const char* value =
        data_->ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
    if (!value) return fallback;
    return QString::fromUtf8(value).left(2047);
}

bool IniFile::parseInt(const QString& text, std::int32_t& value) {
    bool ok = false;
    qint64 v = 0;
    if (text.size() > 2 && (text.startsWith(QLatin1String("0x")) || text.startsWith(QLatin1String("0X")))) {
        v = text.mid(2).toLongLong(&ok, 16);
    } else if (text.startsWith(u'$')) {
        v = text.mid(1).toLongLong(&ok, 16);
    } else {
        v = text.toLongLong(&ok, 10);
    }
    // Hexadecimal values up to 32 bits are taken as their bit pattern (FFFFFFFF is -1).
    if (!ok || v < INT32_MIN || v > UINT32_MAX) return false;
    value = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    return true;
}

std::int32_t IniFile::readInt(const QString& section, const QString& key, std::int32_t fallback) const {
    const char* value =
        data_->ini.GetValue(section.toUtf8().constData(), key.toUtf8().constData(), nullptr);
    std::int32_t result = fallback;
    if (!value || !parseInt(QString::fromUtf8(value).trimmed(), result)) return fallback;
    return result;
}

bool IniFile::readBool(const QString& section, const QString& key, bool fallback) const {
    return readInt(section, key, fallback ? 1 : 0) != 0;
}

QStringList IniFile::keys(const QString& section) const {
    CSimpleIniA::TNamesDepend names;
    data_->ini.GetAllKeys(section.toUtf8().constData(), names);
    QStringList result;
    for (const auto& name : names) result << QString::fromUtf8(name.pItem);
    return result;
}

namespace {
// A name or value as one line of the file: each CR and LF becomes a space, so nothing
// written can start a line of its own (a key or a section). A NUL becomes a space too: the
// reader would end the value there and lose the rest of it.
QByteArray oneLine(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace('\r', ' ').replace('\n', ' ').replace('\0', ' ');
    return bytes;
}
} // namespace

void IniFile::writeText(const QString& section, const QString& key, const QString& value) {
    data_->ini.SetValue(oneLine(section).constData(), oneLine(key).constData(), oneLine(value).constData());
}

void IniFile::writeInt(const QString& section, const QString& key, std::int32_t value) {
    writeText(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeText(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::save() const {
    std::string text;
    if (data_->ini.Save(text, false) < 0) return false;
    return saveFileBytes(path_, QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
}

QString unableToWrite(const QString& path) { return QStringLiteral("Unable to write to %1").arg(path); }

} // namespace tw
