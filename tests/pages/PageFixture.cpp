#include "tests/pages/PageFixture.h"

#include "camera/RVQM52BM14Reg.h"
#include "camera/RVX1240Reg.h"
#include "camera/RVX1250Reg.h"
#include "res/Resources.h"

#include <QLineEdit>

#include <cstdio>

namespace page_test {

PageFixture::PageFixture(camsim::Model model)
    : camera(model), link(camera), m_reg1240(std::make_unique<CRVX1240Reg>(&link)),
      m_reg1250(std::make_unique<CRVX1250Reg>(&link)),
      m_regQM52(std::make_unique<CRVQM52BM14Reg>(&link))
{
    theApp.m_pReg1240 = m_reg1240.get();
    theApp.m_pReg1250 = m_reg1250.get();
    theApp.m_pRegQM52 = m_regQM52.get();
    theApp.m_pBaseReg1240 = m_reg1240.get();
    theApp.m_pBaseReg1250 = m_reg1250.get();
    theApp.m_pBaseRegQM52 = m_regQM52.get();
    static const bool installed = [] {
        res::Install();
        return true;
    }();
    (void)installed;
    host.resize(800, 600);
}

PageFixture::~PageFixture()
{
    theApp.m_pReg1240 = nullptr;
    theApp.m_pReg1250 = nullptr;
    theApp.m_pRegQM52 = nullptr;
    theApp.m_pBaseReg1240 = nullptr;
    theApp.m_pBaseReg1250 = nullptr;
    theApp.m_pBaseRegQM52 = nullptr;
}

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
