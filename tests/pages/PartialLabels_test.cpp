// The partial-scan pages' labels: at the scale this test runs with (QT_SCALE_FACTOR 1, 1.5 and
// 2), each label's text fits its place and no two labels' texts touch, so that a bar's range
// never runs into its "Dec" label.
#include "pages/rvqm52/Cmd52BPartial.h"
#include "pages/rvqm52/Cmd52CPartial.h"
#include "tests/pages/PageFixture.h"

#include <QLabel>

using namespace page_test;

namespace {

class PartialLabels : public PageFixture {
protected:
    PartialLabels() : PageFixture(camsim::Model::RVQM52CM14) {}
};

// Where a label's text is drawn, in its page's coordinates.
QRect TextRect(const QLabel* label)
{
    const QRect box = label->geometry();
    const int width = label->fontMetrics().horizontalAdvance(label->text());
    const int height = label->fontMetrics().height();
    const Qt::Alignment align = label->alignment();
    const int x = (align & Qt::AlignRight)     ? box.right() + 1 - width
                  : (align & Qt::AlignHCenter) ? box.left() + (box.width() - width) / 2
                                               : box.left();
    return QRect(x, box.top() + (box.height() - height) / 2, width, height);
}

} // namespace

TEST_F(PartialLabels, TextsFitAndKeepApart)
{
    CCmd52BPartial mono(&theApp.m_pRegQM52);
    CCmd52CPartial colour(&theApp.m_pRegQM52);
    struct Row {
        const char* name;
        pages::CCmdPage* page;
    };
    const Row rows[] = {{"RVQM52BM14 Partial", &mono}, {"RVQM52CM14 Partial", &colour}};
    // Texts closer than this read as one word.
    constexpr int kGap = 2;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Create(*row.page);
        std::vector<QLabel*> labels;
        for (QLabel* label : row.page->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            if (!label->text().isEmpty() && label->pixmap().isNull())
                labels.push_back(label);
        ASSERT_GE(labels.size(), 9u) << "the three bars' range and \"Dec\" labels at least";
        int decLabels = 0;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const QRect text = TextRect(labels[i]);
            decLabels += labels[i]->text() == "Dec";
            EXPECT_LE(text.width(), labels[i]->width())
                << labels[i]->text().toStdString() << " is cut off";
            for (std::size_t j = i + 1; j < labels.size(); ++j) {
                EXPECT_FALSE(text.adjusted(-kGap, 0, kGap, 0).intersects(TextRect(labels[j])))
                    << labels[i]->text().toStdString() << " runs into "
                    << labels[j]->text().toStdString();
            }
        }
        EXPECT_EQ(decLabels, 3);
    }
}
