#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Written feedback on a sample of the user's dictations.
struct Insights
{
    struct Suggestion
    {
        QString title;
        QString detail;
        bool operator==(const Suggestion&) const = default;
    };
    struct Resource
    {
        QString title;
        QString why;
        bool operator==(const Resource&) const = default;
    };

    QString summary;
    QStringList strengths;
    QList<Suggestion> suggestions;
    QList<Resource> resources;

    bool operator==(const Insights&) const = default;
};
