#pragma once

#include <QColor>
#include <QObject>
#include <QtQml/qqmlregistration.h>

class DictationController;

// The dock under the main column: the record button (the language menu beside it binds to the
// shared LanguagePicker).
class BottomDock : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the main window")

    Q_PROPERTY(QString recordSymbol READ recordSymbol NOTIFY recordingChanged)
    Q_PROPERTY(QColor recordColor READ recordColor NOTIFY recordingChanged)

public:
    explicit BottomDock(DictationController& controller, QObject* parent = nullptr);

    QString recordSymbol() const;
    QColor recordColor() const;
    Q_INVOKABLE void toggleRecording();

Q_SIGNALS:
    void recordingChanged();

private:
    bool recording() const;

    DictationController& m_controller;
};
