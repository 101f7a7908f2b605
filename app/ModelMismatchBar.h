// The bar above the pages that says when the camera on the port is not the model whose pages
// are chosen, with a button that chooses the camera's model. Its owner shows it while it is
// wanted.
#pragma once

#include <QFrame>

#include <functional>
#include <string>

class QLabel;
class QPushButton;

class CModelMismatchBar : public QFrame {
public:
    explicit CModelMismatchBar(QWidget* parent = nullptr);

    // Called with the camera's model name when the user asks for its pages.
    void SetChooseModel(std::function<void(const std::string&)> choose)
    {
        m_choose = std::move(choose);
    }
    // Wanted when cameraModel is a known model and another one is chosen (cameraModel empty: no
    // camera known); its text says so then.
    void Take(const std::string& port, const std::string& cameraModel,
              const std::string& chosenModel);
    bool Wanted() const { return !m_cameraModel.empty(); }

    QLabel* Text() const { return m_text; }
    QPushButton* Button() const { return m_button; }

private:
    QLabel* m_text;
    QPushButton* m_button;
    std::string m_cameraModel;
    std::function<void(const std::string&)> m_choose;
};
