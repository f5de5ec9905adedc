#pragma once

#include "app/AppResources.h"

#include <QPalette>
#include <QWidget>

// Builds a page from its form: the pages are borderless white forms docked into the main
// window's tabs, with the program's icons.
template <typename Form>
void SetUpPage(QWidget& page, Form& form)
{
    InitAppResources();
    form.setupUi(&page);
    QPalette white = page.palette();
    white.setColor(QPalette::Window, Qt::white);
    page.setPalette(white);
}
