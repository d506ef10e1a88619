#pragma once

#include <QWidget>

namespace korvale {

// The About box: what Korvale is, its version and where to write.
class FrmAbout final : public QWidget {
    Q_OBJECT

public:
    FrmAbout();
};

}  // namespace korvale
