#pragma once

#include <QTimer>
#include <QWidget>

// The copy-files animation of the progress window: a sheet of paper flies from one folder
// into another. 272 x 60 pixels. At rest (stopped) it shows the stop frame; running, a
// QTimer steps through the frames in a loop. No timer runs while stopped.
class CopyAnimation : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kWidth = 272; // pixels
    static constexpr int kHeight = 60; // pixels
    static constexpr int kFrameCount = 36;
    static constexpr int kStopFrame = 34;
    static constexpr int kFrameInterval = 60; // ms

    explicit CopyAnimation(QWidget* parent = nullptr);

    // Starts from frame 0; a running animation just keeps running.
    void start();
    // Stops and shows the stop frame.
    void stop();
    bool isRunning() const { return m_timer.isActive(); }
    // 0 .. kFrameCount - 1.
    int frame() const { return m_frame; }

    QSize sizeHint() const override { return {kWidth, kHeight}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void advance();

    QTimer m_timer;
    int m_frame = kStopFrame;
};
