#include "RecordingQtUi.h"

#include <utility>

#include "TopLevelWindows.h"

namespace korvale::test {

void RecordingQtUi::showMessage(std::string_view text, std::string_view detail) {
    m_recorded.push_back({QString::fromUtf8(text.data(), qsizetype(text.size())),
                          QString::fromUtf8(detail.data(), qsizetype(detail.size())),
                          VisibleWindows()});
}

bool RecordingQtUi::askYesNo(std::string_view question) {
    showMessage(question);
    return m_answer;
}

std::vector<RecordingQtUi::Shown> RecordingQtUi::takeRecorded() {
    return std::exchange(m_recorded, {});
}

}  // namespace korvale::test
