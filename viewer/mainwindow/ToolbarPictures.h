#pragma once
// The pictures and tool tips of the main window's tool bar buttons, by button key.

#include <QIcon>
#include <QSize>
#include <QString>

class ToolbarPictures {
public:
    static QSize size() { return {20, 20}; }
    // The picture of the button with `key`; an empty icon for an unknown key.
    static QIcon picture(const QString& key);
    static QString toolTip(const QString& key);
};
