#ifndef STYLESHEET_H
#define STYLESHEET_H

#include <QString>

class QApplication;

// Applies the style sheet file at `path` (Latin-1, up to the first NUL byte).
// Returns false, leaving the current style, when the file cannot be opened.
bool applyStyleSheet(QApplication& app, const QString& path);

#endif // STYLESHEET_H
