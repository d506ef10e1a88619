#pragma once

#include <QWidget>

#include "windows/FormLayout.h"

namespace korvale {

// The About box: what Korvale is, its version and where to write.
class FrmAbout final : public QWidget {
    Q_OBJECT

public:
    FrmAbout();

    static const FormLayout& formLayout();
};

}  // namespace korvale
