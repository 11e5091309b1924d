#pragma once

#include <QWidget>

namespace korvex {

// A flat percentage bar without text: grey track, yellow fill.
class ProgressGauge : public QWidget {
    Q_OBJECT
public:
    explicit ProgressGauge(QWidget* parent = nullptr);

    int value() const { return m_value; }
    void setValue(int percent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_value = 0;
};

} // namespace korvex
