#pragma once

#include "core/WindowLayout.h"

#include <QObject>
#include <QSize>
#include <QtQml/qqmlregistration.h>

#include <functional>

// A window that stands where a screen of the application will be: its title and size, one line
// saying what will be there and, where the user must be able to move on, one button.
class PlaceholderWindowModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("made by the application's windows")

    Q_PROPERTY(QString title READ title CONSTANT)
    Q_PROPERTY(QSize contentSize READ contentSize CONSTANT)
    Q_PROPERTY(QSize minimumSize READ minimumSize CONSTANT)
    Q_PROPERTY(QString message READ message CONSTANT)
    Q_PROPERTY(QString actionText READ actionText CONSTANT)
    Q_PROPERTY(bool actionVisible READ actionVisible CONSTANT)

public:
    // An empty `actionText` shows no button.
    PlaceholderWindowModel(const WindowLayout& layout, QString message, QString actionText = {},
                           std::function<void()> action = {}, QObject* parent = nullptr);

    QString title() const { return m_layout.title; }
    QSize contentSize() const { return m_layout.content; }
    // The content size when the window is not resizable.
    QSize minimumSize() const;
    QString message() const { return m_message; }
    QString actionText() const { return m_actionText; }
    bool actionVisible() const { return !m_actionText.isEmpty(); }

    Q_INVOKABLE void act();

private:
    WindowLayout m_layout;
    QString m_message;
    QString m_actionText;
    std::function<void()> m_action;
};
