#pragma once

#include <QString>
#include <QTemporaryDir>

/**
 * A fresh program folder for one test: the shipped program files (Reports, EmpPics, help) and a
 * new database holding the starting content (administrator ADMIN, password "admin"), or the demo
 * shop. The program works in it until the object goes.
 */
class TestFolder {
public:
    enum class Content { Starting, Demo, NoDatabase };

    explicit TestFolder(Content content = Content::Starting);
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    QString databasePath() const;
    bool isValid() const { return m_valid; }

    static QString adminPassword() { return QStringLiteral("admin"); }

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};
