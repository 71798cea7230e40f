#include "preview/spin.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace veltrane::preview {
namespace {

constexpr float kAngleStep = 1000.0f;
// How far the zoom may go from the one an object is first shown with: in, and out.
constexpr float kZoomInLimit = 8.0f;
constexpr float kZoomOutLimit = 64.0f;

// Starts the tracker at p, or moves it there; returns the signed step to apply (0 on the start).
template <class Step>
float track(bool& tracking, std::int32_t& last, std::int32_t p, Step step) {
    if (!tracking) {
        last = p;
        tracking = true;
        return 0;
    }
    const std::int32_t difference = p - last;
    last = p;
    const float size = step(difference);
    return difference > 0 ? size : difference < 0 ? -size : 0.0f;
}

float angleStep(std::int32_t difference) {
    return static_cast<float>(std::abs(static_cast<std::int64_t>(static_cast<float>(difference) * kAngleStep)));
}

float pixelStep(std::int32_t difference) { return static_cast<float>(std::abs(static_cast<std::int64_t>(difference))); }

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

} // namespace

float MouseD3D::TrackAngleY(std::int32_t x) {
    angleY += track(angleYTracking, angleYLast, x, angleStep) * factor;
    return angleY;
}

float MouseD3D::TrackAngleX(std::int32_t y) {
    angleX -= track(angleXTracking, angleXLast, y, angleStep) * factor;
    return angleX;
}

float MouseD3D::TrackZoom(std::int32_t y) { return zoomBy(-track(zoomTracking, zoomLast, y, pixelStep)); }

float MouseD3D::TrackPanX(std::int32_t x, float step) {
    panX -= track(panXTracking, panXLast, x, pixelStep) * factor / kDefaultFactor * step;
    return panX;
}

float MouseD3D::TrackPanY(std::int32_t y, float step) {
    panY -= track(panYTracking, panYLast, y, pixelStep) * factor / kDefaultFactor * step;
    return panY;
}

float MouseD3D::wheelZoom(float notches) { return zoomBy(notches * kWheelNotchPixels); }

float MouseD3D::zoomBy(float pixels) {
    if (pixels != 0)
        zoom = std::clamp(zoom * std::exp2(pixels * factor / (kDefaultFactor * kZoomDoublingPixels)), lowestZoom,
                          highestZoom);
    return zoom;
}

void MouseD3D::EndDrag() {
    angleYTracking = angleXTracking = zoomTracking = panXTracking = panYTracking = false;
}

void MouseD3D::ResetAll() {
    EndDrag();
    angleY = angleX = zoom = panX = panY = 0;
    angleYLast = angleXLast = zoomLast = panXLast = panYLast = 0;
}

void MouseD3D::SetZoom(float z) {
    zoom = z;
    zoomTracking = false;
    zoomLast = 0;
}

void MouseD3D::limitZoom(float lowest, float highest) {
    lowestZoom = lowest;
    highestZoom = highest;
}

void Panel1MouseMove(MouseD3D& spin, ViewParameters& view, MouseState state, std::int32_t x, std::int32_t y,
                     float unitsPerPixel) {
    if (!state.rightButton)
        return;
    if (state.ctrl) {
        view.viewZoom = spin.TrackZoom(y);
    } else if (state.shift) {
        view.viewPanX = spin.TrackPanX(x, unitsPerPixel);
        view.viewPanY = spin.TrackPanY(y, unitsPerPixel);
    } else {
        view.viewAngleY = spin.TrackAngleY(x);
        view.viewAngleX = spin.TrackAngleX(y);
    }
}

void Panel1MouseUp(MouseD3D& spin) { spin.EndDrag(); }

void Panel1MouseWheel(MouseD3D& spin, ViewParameters& view, float notches) { view.viewZoom = spin.wheelZoom(notches); }

void resetView(MouseD3D& spin, ViewParameters& view, const ViewParameters& start) {
    spin.ResetAll();
    spin.SetZoom(start.viewZoom);
    spin.limitZoom(start.viewZoom / kZoomOutLimit, start.viewZoom * kZoomInLimit);
    spin.panX = start.viewPanX;
    spin.panY = start.viewPanY;
    spin.angleY = start.viewAngleY;
    spin.angleX = start.viewAngleX;
    view = start;
}

void rescaleView(MouseD3D& spin, ViewParameters& view, float ratio) {
    spin.zoom *= ratio;
    spin.limitZoom(spin.lowestZoom * ratio, spin.highestZoom * ratio);
    spin.panX *= ratio;
    spin.panY *= ratio;
    view.viewZoom *= ratio;
    view.viewPanX *= ratio;
    view.viewPanY *= ratio;
}

float angleRadians(float thousandthsOfDegree) {
    return static_cast<float>(static_cast<double>(thousandthsOfDegree) / 1000.0 * std::numbers::pi / 180.0);
}

std::optional<float> parseFactor(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    float value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string invalidFloatMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value";
}

} // namespace veltrane::preview
