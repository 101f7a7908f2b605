#include "tests/pages/PageFixture.h"

#include "res/Resources.h"

#include <QLineEdit>

#include <cstdio>

namespace page_test {

PageFixture::PageFixture(camsim::Model model) : camera(model), link(camera), m_maps(&link)
{
    static const bool installed = [] {
        res::Install();
        return true;
    }();
    (void)installed;
    host.resize(800, 600);
}

PageFixture::~PageFixture() = default;

void PageFixture::Create(pages::CCmdPage& page)
{
    ASSERT_TRUE(page.Create(&host));
}

void PageFixture::Fresh()
{
    link.ClearSent();
    log.Clear();
}

void PageFixture::Click(ui::Dialog& page, int id)
{
    ui::Button button = page.GetButton(id);
    ASSERT_TRUE(button.IsValid()) << "no button " << id;
    button.Click();
}

void PageFixture::Scroll(pages::CCmdPage& page, int barId, int code, int pos)
{
    ui::ScrollBar bar = page.GetScrollBar(barId);
    ASSERT_TRUE(bar.IsValid()) << "no scroll bar " << barId;
    bar.Widget()->Simulate(code, pos);
}

void PageFixture::Choose(ui::Dialog& page, int comboId, int index)
{
    ui::ComboBox combo = page.GetComboBox(comboId);
    ASSERT_TRUE(combo.IsValid()) << "no combo box " << comboId;
    combo.Widget()->setCurrentIndex(index);
    emit combo.Widget()->activated(index);
}

void PageFixture::Type(pages::CCmdPage& page, int comboId, const std::string& text)
{
    ui::ComboBox combo = page.GetComboBox(comboId);
    ASSERT_TRUE(combo.IsValid() && combo.Widget()->lineEdit()) << "no edit field " << comboId;
    // The whole text at once, as a paste puts it there.
    QLineEdit* edit = combo.Widget()->lineEdit();
    const QString typed = QString::fromStdString(text);
    edit->setText(typed);
    emit edit->textEdited(typed);
}

std::string WriteFrame(int address, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X%02X", address, value);
    return text;
}

} // namespace page_test
