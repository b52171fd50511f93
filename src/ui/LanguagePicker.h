#pragma once

#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class Preferences;

// The spoken-language choice of the settings and of the dock, bound to the stored language:
// automatic detection (the empty code), Russian or English.
class LanguagePicker : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the main window")

    Q_PROPERTY(QStringList labels READ labels CONSTANT)
    // -1 while another language is stored (the onboarding may choose any).
    Q_PROPERTY(int index READ index WRITE choose NOTIFY changed)
    Q_PROPERTY(QString currentLabel READ currentLabel NOTIFY changed)
    Q_PROPERTY(QString symbol MEMBER m_symbol CONSTANT)

public:
    explicit LanguagePicker(Preferences& preferences, QObject* parent = nullptr);

    static QStringList labels();
    int index() const;
    void choose(int index);
    QString currentLabel() const;

Q_SIGNALS:
    void changed();

private:
    Preferences& m_preferences;
    QString m_symbol = QStringLiteral("globe");
};
