#include "windows/QtUiServices.h"

#include <QCoreApplication>

#include "windows/FormLayout.h"
#include "windows/MessageBox.h"

namespace korvale {

void QtUiServices::showMessage(std::string_view text, std::string_view detail) {
    MessageBox::Show(ToQString(text), ToQString(detail));
}

bool QtUiServices::processEvents() {
    QCoreApplication::processEvents();
    return !m_ending;
}

}  // namespace korvale
