#pragma once
// The read-only registry operations the board's port lookup needs, so the lookup can run
// against the Windows registry or against an in-memory one.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QtGlobal>

namespace korvel {

class Registry {
public:
    using Key = quintptr;
    static constexpr Key LocalMachine = 0;

    virtual ~Registry() = default;
    // Opens name under parent; a run of separators counts as one.
    virtual bool openKey(Key parent, const QString& name, Key* out) = 0;
    // Copies a string value and its terminating zero into buffer; false when the value is
    // missing or does not fit.
    virtual bool queryString(Key key, const QString& valueName, char* buffer, quint32 size) = 0;
    virtual void closeKey(Key key) = 0;
};

// Key and value names are case-insensitive, as in the Windows registry.
class InMemoryRegistry : public Registry {
public:
    void setValue(const QString& keyPath, const QString& valueName, const QByteArray& value);

    bool openKey(Key parent, const QString& name, Key* out) override;
    bool queryString(Key key, const QString& valueName, char* buffer, quint32 size) override;
    void closeKey(Key key) override;

    int openKeys() const { return static_cast<int>(open_.size()); }
    int opened = 0;

private:
    static QString normalized(const QString& path);

    QHash<QString, QHash<QString, QByteArray>> values_;
    QHash<Key, QString> open_;
    Key next_ = 1;
};

#ifdef Q_OS_WIN
// HKEY_LOCAL_MACHINE through the Win32 API, read access only.
class Win32Registry : public Registry {
public:
    ~Win32Registry() override;
    bool openKey(Key parent, const QString& name, Key* out) override;
    bool queryString(Key key, const QString& valueName, char* buffer, quint32 size) override;
    void closeKey(Key key) override;
};
#endif

}  // namespace korvel
