#include "device/Registry.h"

#include <QStringList>
#include <cstring>

namespace korvel {

QString InMemoryRegistry::normalized(const QString& path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\')).toLower();
}

void InMemoryRegistry::setValue(const QString& keyPath, const QString& valueName,
                                const QByteArray& value)
{
    values_[normalized(keyPath)][valueName.toLower()] = value;
}

bool InMemoryRegistry::openKey(Key parent, const QString& name, Key* out)
{
    QString path = normalized(name);
    if (parent != LocalMachine) {
        const auto it = open_.constFind(parent);
        if (it == open_.cend())
            return false;
        path = normalized(it.value() + QLatin1Char('\\') + name);
    }
    // A key exists when it holds values or lies on the way to one that does.
    bool exists = false;
    for (auto it = values_.cbegin(); it != values_.cend() && !exists; ++it)
        exists = it.key() == path || it.key().startsWith(path + QLatin1Char('\\'));
    if (!exists)
        return false;
    *out = next_++;
    open_.insert(*out, path);
    ++opened;
    return true;
}

bool InMemoryRegistry::queryString(Key key, const QString& valueName, char* buffer, quint32 size)
{
    const auto k = open_.constFind(key);
    if (k == open_.cend())
        return false;
    const auto values = values_.constFind(k.value());
    if (values == values_.cend())
        return false;
    const auto v = values->constFind(valueName.toLower());
    if (v == values->cend())
        return false;
    const QByteArray& text = v.value();
    if (static_cast<quint32>(text.size()) + 1 > size)
        return false;
    std::memcpy(buffer, text.constData(), static_cast<size_t>(text.size()));
    buffer[text.size()] = '\0';
    return true;
}

void InMemoryRegistry::closeKey(Key key)
{
    open_.remove(key);
}

}  // namespace korvel

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace korvel {

Win32Registry::~Win32Registry() = default;

bool Win32Registry::openKey(Key parent, const QString& name, Key* out)
{
    // Separator runs are collapsed here rather than trusted to the registry.
    const QString path = name.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
    const HKEY root = parent == LocalMachine ? HKEY_LOCAL_MACHINE : reinterpret_cast<HKEY>(parent);
    HKEY key = nullptr;
    // Read access is all the lookup needs; asking for more fails for ordinary users.
    if (RegOpenKeyExW(root, reinterpret_cast<LPCWSTR>(path.utf16()), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    *out = reinterpret_cast<Key>(key);
    return true;
}

bool Win32Registry::queryString(Key key, const QString& valueName, char* buffer, quint32 size)
{
    if (size == 0)
        return false;
    DWORD type = 0;
    DWORD bytes = size - 1;  // keep room for a terminator the registry may not have stored
    const LONG rc = RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.toLatin1().constData(),
                                     nullptr, &type, reinterpret_cast<LPBYTE>(buffer), &bytes);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || bytes > size - 1)
        return false;
    buffer[bytes] = '\0';
    return true;
}

void Win32Registry::closeKey(Key key)
{
    RegCloseKey(reinterpret_cast<HKEY>(key));
}

}  // namespace korvel
#endif
