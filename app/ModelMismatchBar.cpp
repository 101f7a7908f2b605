#include "app/ModelMismatchBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

CModelMismatchBar::CModelMismatchBar(QWidget* parent)
    : QFrame(parent), m_text(new QLabel(this)), m_button(new QPushButton(this))
{
    setFrameShape(QFrame::StyledPanel);
    setAccessibleName(QStringLiteral("Camera model"));
    m_text->setWordWrap(true);
    // The label's own text is what a screen reader says of it.
    m_text->setAccessibleName(QStringLiteral("Camera model notice"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 3, 6, 3);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_button);
    connect(m_button, &QPushButton::clicked, this, [this] {
        if (m_choose && !m_cameraModel.empty())
            m_choose(m_cameraModel);
    });
}

void CModelMismatchBar::Take(const std::string& port, const std::string& cameraModel,
                             const std::string& chosenModel)
{
    // With no model chosen the pages neither read nor write: nothing to warn of.
    m_cameraModel = cameraModel == chosenModel || chosenModel.empty() ? std::string() : cameraModel;
    if (m_cameraModel.empty())
        return;
    // Every model name this program knows is said beginning with a vowel ("ar-vee").
    const std::string text = "The camera on " + port + " is an " + cameraModel +
                             "; the pages are for the " + chosenModel + ".";
    m_text->setText(QString::fromStdString(text));
    m_text->setAccessibleDescription(m_text->text());
    // The bar itself says what it warns of, for a reader that stops at the bar.
    setAccessibleDescription(m_text->text());
    const QString button = QString::fromStdString("Use " + cameraModel + " pages");
    m_button->setText(button);
    m_button->setAccessibleName(button);
}
