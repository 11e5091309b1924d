#pragma once

#include <QString>

namespace korvex {

// Work deferred to the moment the event queue is empty. Each flag is set by a command and
// cleared when its work runs.
struct IdleFlags {
    bool terminateRequested = false;
    bool gridRepaint = false;
    QString pendingCameraSource; // a drive or a folder to acquire from
    bool pendingCameraSettings = false;
    bool firstIdle = false;
    bool maskRefresh = false;
    bool getPicturesRequested = false;
    bool selectionChangeRefresh = false;
    bool fullScreenToggle = false;
    bool deleteRequested = false;
    bool gridUpdate = false;
    bool closeRequested = false;
    bool showPictureRequested = false;
    bool rotateBatchFinished = false;
};

// What the window is doing at this moment, as far as idle work must know.
struct IdleState {
    bool busyGateOpen = true;
    bool pictureLoading = false;
    bool slideShow = false;
    bool editMode = false; // crop or red-eye
    bool viewerIdle = true;
};

enum class IdleStep {
    Terminate,
    RepaintGrid,
    LaunchCamera,
    FirstIdle,
    RedrawMask,
    GetPictures,
    SelectionRefresh,
    ToggleFullScreen,
    Delete,
    UpdateGrid,
    Close,
    ShowPicture,
    RotateBatchFinished,
    Background, // one step of thumbnail pre-caching
};

// The steps one idle turn runs, in order, clearing the flags they consume. At most one of the
// first three runs per turn; they end the turn.
class IdleWork {
public:
    template <typename Run> static void turn(IdleFlags& flags, const IdleState& state, Run run) {
        if (flags.terminateRequested) {
            flags.terminateRequested = false;
            return run(IdleStep::Terminate);
        }
        if (flags.gridRepaint) {
            flags.gridRepaint = false;
            return run(IdleStep::RepaintGrid);
        }
        if (!flags.pendingCameraSource.isEmpty() && state.busyGateOpen) {
            // A start by a camera skips the quick start guide, update check and first picture.
            flags.firstIdle = false;
            return run(IdleStep::LaunchCamera);
        }
        if (flags.firstIdle) {
            flags.firstIdle = false;
            run(IdleStep::FirstIdle);
        }
        if (flags.maskRefresh && state.editMode) {
            flags.maskRefresh = false;
            run(IdleStep::RedrawMask);
        }
        if (flags.getPicturesRequested && !state.pictureLoading) {
            flags.getPicturesRequested = false;
            return run(IdleStep::GetPictures);
        }
        if (flags.selectionChangeRefresh) {
            flags.selectionChangeRefresh = false;
            return run(IdleStep::SelectionRefresh);
        }
        if (flags.fullScreenToggle && !state.pictureLoading) {
            flags.fullScreenToggle = false;
            return run(IdleStep::ToggleFullScreen);
        }
        if (flags.deleteRequested && state.viewerIdle) {
            flags.deleteRequested = false;
            return run(IdleStep::Delete);
        }
        if (flags.gridUpdate) {
            flags.gridUpdate = false;
            return run(IdleStep::UpdateGrid);
        }
        if (flags.closeRequested) {
            flags.closeRequested = false;
            return run(IdleStep::Close);
        }
        if (!state.pictureLoading && !state.slideShow && flags.showPictureRequested) {
            flags.showPictureRequested = false;
            return run(IdleStep::ShowPicture);
        }
        if (flags.rotateBatchFinished) {
            flags.rotateBatchFinished = false;
            return run(IdleStep::RotateBatchFinished);
        }
        run(IdleStep::Background);
    }
};

} // namespace korvex
