#pragma once

#include <QSize>
#include <QString>

// How a window of the application is to be created.
struct WindowLayout
{
    QSize content;
    QSize minimum; // empty: the content size is fixed
    QString title;
    bool resizable = false;
    bool minimizable = false;
};
