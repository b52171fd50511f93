#pragma once

#include <QString>

// The text without spaces and tabs at either end; line breaks stay.
QString trimmedOfSpacesAndTabs(const QString& text);
