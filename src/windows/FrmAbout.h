#pragma once

#include <QWidget>

#include "windows/FormLayout.h"

namespace korvale {

class WindowManager;

// The About box: what Korvale is, its version and where to write.
class FrmAbout final : public QWidget {
    Q_OBJECT

public:
    explicit FrmAbout(WindowManager& windows);

    static const FormLayout& Layout();
};

}  // namespace korvale
