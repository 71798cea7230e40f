#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltrane::preview {

// The spin state: right-button drags over the preview turn, zoom and pan the object. Each tracker
// turns a mouse position into its quantity; the first position of a drag only starts the tracker.
class MouseD3D {
public:
    MouseD3D(float factor, float zoom) : zoom(zoom), factor(factor) {}

    void SetFactor(float f) { factor = f; }
    // Horizontal movement turns about Y, 1000 units (thousandths of a degree) a pixel times the factor.
    float TrackAngleY(std::int32_t x);
    // Vertical movement turns about X the same way; moving down lowers the angle.
    float TrackAngleX(std::int32_t y);
    // Moving down zooms out by the factor a pixel; the zoom never drops below kMinimumZoom.
    float TrackZoom(std::int32_t y);
    // Moving right or down lowers the pan by the factor a pixel.
    float TrackPanX(std::int32_t x);
    float TrackPanY(std::int32_t y);
    // Zooms in by the factor for each notch (negative notches zoom out), never below kMinimumZoom.
    float wheelZoom(float notches);

    void EndDrag();
    void ResetAll();
    void SetZoom(float z);

    static constexpr float kMinimumZoom = 0.001f;

    float angleY = 0;
    float angleX = 0;
    float zoom;
    std::int32_t angleYLast = 0;
    std::int32_t angleXLast = 0;
    std::int32_t zoomLast = 0;
    float panX = 0;
    float panY = 0;
    std::int32_t panXLast = 0;
    std::int32_t panYLast = 0;
    bool angleYTracking = false;
    bool angleXTracking = false;
    bool zoomTracking = false;
    bool panXTracking = false;
    bool panYTracking = false;
    float factor;
};

// The view the frame draws with. The angles are in thousandths of a degree, as the trackers give them.
struct ViewParameters {
    static constexpr float kStartZoom = 6.0f;
    float viewPanX = 0;
    float viewPanY = 0;
    float viewAngleY = 0;
    float viewAngleX = 0;
    float viewZoom = kStartZoom;
    bool operator==(const ViewParameters&) const = default;
};

// The buttons and keys held during a mouse move.
struct MouseState {
    bool rightButton = false;
    bool ctrl = false;
    bool shift = false;
};

// One pixel of Shift drag moves the object by 20 times the factor.
constexpr float kPanStep = 20.0f;

// A mouse move over the preview: with the right button held, Ctrl zooms, else Shift pans, else the
// object turns. Only the chosen mode's view values change.
void Panel1MouseMove(MouseD3D& spin, ViewParameters& view, MouseState state, std::int32_t x, std::int32_t y);
// Any button released ends the drag.
void Panel1MouseUp(MouseD3D& spin);
// The wheel over the preview zooms; `notches` is positive away from the user.
void Panel1MouseWheel(MouseD3D& spin, ViewParameters& view, float notches);
// A new object on show: every tracker, angle and pan back to 0, the zoom back to its start.
void resetView(MouseD3D& spin, ViewParameters& view);

// A view angle (thousandths of a degree) in radians.
float angleRadians(float thousandthsOfDegree);

// The "Spin Factor" text as a number: a decimal with "." as its separator, optionally signed and with
// an exponent, blanks around it allowed. None for any other text.
std::optional<float> parseFactor(std::string_view text);
// The message for a text that is not a number.
std::string invalidFloatMessage(std::string_view text);

} // namespace veltrane::preview
