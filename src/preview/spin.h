#pragma once

#include <glm/vec3.hpp>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace veltrane::preview {

// The "Spin Factor" the box starts with; the drag sizes below are for it, and another factor scales them.
constexpr float kDefaultFactor = 1.2f;
// Pixels of Ctrl drag that halve the zoom (down) or double it (up) at the default factor.
constexpr float kZoomDoublingPixels = 100.0f;
// One wheel notch zooms as far as this many pixels of Ctrl drag.
constexpr float kWheelNotchPixels = 20.0f;

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
    // Moving down zooms out and moving up zooms in, by a constant ratio a pixel, so that the same drag
    // does the same to any zoom; the zoom stays within its limits.
    float TrackZoom(std::int32_t y);
    // Moving right or down lowers the pan by `step` a pixel at the default factor.
    float TrackPanX(std::int32_t x, float step);
    float TrackPanY(std::int32_t y, float step);
    // Zooms in for each notch as a Ctrl drag of kWheelNotchPixels up does (negative notches zoom out).
    float wheelZoom(float notches);

    void EndDrag();
    void ResetAll();
    void SetZoom(float z);
    // From now on the zoom stays between `lowest` and `highest`.
    void limitZoom(float lowest, float highest);

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
    float lowestZoom = 0;
    float highestZoom = std::numeric_limits<float>::max();

private:
    // Multiplies the zoom by 2 to the power of `pixels` (of drag up) over the doubling distance.
    float zoomBy(float pixels);
};

// The view the frame draws with: the object is moved so that `centre` (preview units) lies at the
// origin, scaled by the zoom, turned, then panned across the screen by (pan x, pan y) preview units.
// The angles are in thousandths of a degree, as the trackers give them.
struct ViewParameters {
    // The zoom of the fixed camera, and of an object with nothing to frame.
    static constexpr float kStartZoom = 6.0f;
    float viewPanX = 0;
    float viewPanY = 0;
    float viewAngleY = 0;
    float viewAngleX = 0;
    float viewZoom = kStartZoom;
    glm::vec3 centre{0.0f};
    bool operator==(const ViewParameters&) const = default;
};

// The buttons and keys held during a mouse move.
struct MouseState {
    bool rightButton = false;
    bool ctrl = false;
    bool shift = false;
};

// A mouse move over the preview: with the right button held, Ctrl zooms, else Shift pans, else the
// object turns. Only the chosen mode's view values change. At the default factor a pan moves the
// object with the pointer: `unitsPerPixel` preview units a pixel.
void Panel1MouseMove(MouseD3D& spin, ViewParameters& view, MouseState state, std::int32_t x, std::int32_t y,
                     float unitsPerPixel);
// Any button released ends the drag.
void Panel1MouseUp(MouseD3D& spin);
// The wheel over the preview zooms; `notches` is positive away from the user.
void Panel1MouseWheel(MouseD3D& spin, ViewParameters& view, float notches);
// A new object on show, or the view asked back: every tracker ended, and the view and the spin's
// quantities those of `start`. The zoom may then go from a 64th of the start's to 8 times it.
void resetView(MouseD3D& spin, ViewParameters& view, const ViewParameters& start);
// The panel or the object's framing changed size by `ratio`: the zoom, its limits and the pan follow,
// so that what was on show stays so.
void rescaleView(MouseD3D& spin, ViewParameters& view, float ratio);

// A view angle (thousandths of a degree) in radians.
float angleRadians(float thousandthsOfDegree);

// The "Spin Factor" text as a number: a decimal with "." as its separator, optionally signed and with
// an exponent, blanks around it allowed. None for any other text.
std::optional<float> parseFactor(std::string_view text);
// The message for a text that is not a number.
std::string invalidFloatMessage(std::string_view text);

} // namespace veltrane::preview
