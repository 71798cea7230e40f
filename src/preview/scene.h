#pragma once

#include "io/outcome.h"
#include "level/level_document.h"
#include "preview/framing.h"
#include "preview/mesh_builders.h"
#include "preview/object_info.h"
#include "preview/render_lists.h"
#include "preview/spin.h"
#include "preview/texture_set.h"
#include "wad/library_document.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace veltrane::preview {

// The preview of one file: its object render lists, and, once a device is given, its texture set
// and render meshes. It refers to the file's models without owning them; `pages16` is null for a
// file without 16-bit pages.
template <class Model>
class FilePreview {
public:
    FilePreview(const Model& file, const std::vector<std::uint8_t>& pages32, const std::vector<std::uint8_t>* pages16,
                const level::Lista_Mesh& meshes);

    // Object render lists for every moveable and static mesh of the file, built from its tables.
    void buildObjects();

    std::unique_ptr<trTextura> textures;
    RenderMeshTable meshes;
    std::vector<std::unique_ptr<MoveableRenderList<Model>>> moveables;
    std::vector<std::unique_ptr<StaticRenderList<Model>>> statics;

    const Model* file;
    const std::vector<std::uint8_t>* pages32;
    const std::vector<std::uint8_t>* pages16;
    bool deviceObjectsDue = true; // textures and render meshes are to be made on the next build
};

using TargetPreview = FilePreview<level::Tr4Level>;
using SourcePreview = FilePreview<wad::WadLibrary>;

// The four lists an object can be shown from.
enum class PreviewList { TargetMoveables, TargetStatics, SourceMoveables, SourceStatics };

struct PreviewSelection {
    PreviewList list = PreviewList::TargetMoveables;
    std::int32_t index = 0;
    bool operator==(const PreviewSelection&) const = default;
};

// Everything the preview shows, without the device: the target and source previews, the object on
// show, the spin state and the view. The device half draws it with DrawFrame.
//
// An object goes on show framed: turned about the middle of its box and zoomed so that the sphere
// around it (at rest, or in every keyframe of the animation it is posed by) fits in the panel. Drags then
// turn, zoom and pan it in proportion to that framing; resizing the panel or posing keeps how much of
// the object the view shows.
class PreviewScene {
public:
    PreviewScene();

    static constexpr int kDesignWidth = Viewport{}.width;
    static constexpr int kDesignHeight = Viewport{}.height;

    // A target opened (or none): its object render lists are built now, its textures and meshes at
    // the next BuildDeviceObjects, which then reports the 16-bit notice when it is due. A target
    // object on show is taken off.
    void setTarget(const level::LevelDocument* target);
    // The target grew by a merge: its render lists, textures and meshes are made again, without notice.
    void targetChanged();
    // A source opened (or none). A source object on show is taken off.
    void setSource(const wad::LibraryDocument* source);

    // Makes the textures and render meshes that are due on `device`: the target's from its 32-bit
    // pages when the device takes that format, else from its 16-bit pages; the source's always from
    // its 32-bit pages. True when a newly opened target got 16-bit textures (the notice is due).
    bool buildDeviceObjects(RenderDevice& device);
    // The same for the file whose object is on show only, which is all the next frame needs: a file
    // costs no upload until one of its objects is shown.
    void buildShownDeviceObjects(RenderDevice& device);
    // True once for a newly opened target when `device` takes no 32-bit textures: the notice is due.
    bool takeSixteenBitNotice(const RenderDevice& device);
    // Drops every texture and device buffer, for a device that is going away; the next build makes
    // them all again.
    void releaseDeviceObjects();

    // Puts one object on show and frames it; an index outside its list shows nothing.
    void select(PreviewSelection selection);
    void clearSelection();
    [[nodiscard]] std::optional<PreviewSelection> selection() const { return selection_; }
    // The object on show, or null.
    [[nodiscard]] const PreviewObject* selectedObject() const;

    // The animations the moveable on show can play, each with its number of frames; empty for a
    // static mesh or when nothing is on show.
    [[nodiscard]] std::vector<std::uint32_t> animationFrameCounts() const;
    // Poses the moveable on show at frame `frame` of its animation `animation` (counted from the
    // moveable's first). When the frame data cannot give a pose, the rest view stays and the note
    // says why. Selecting another object goes back to the rest view.
    io::Status showAnimationFrame(std::uint32_t animation, std::uint32_t frame);
    // The rest view: every mesh at its mesh-tree offset, unturned.
    void showRest();

    // The "Spin Factor" text: a number becomes the factor; any other text keeps the last good factor
    // and is reported until a number is given. Returns whether the text is a number.
    bool setFactorText(std::string_view text);
    [[nodiscard]] bool factorValid() const { return factorError_.empty(); }
    // "'<text>' is not a valid floating point value" for an invalid text, else empty.
    [[nodiscard]] const std::string& factorError() const { return factorError_; }

    // The panel's size in pixels (a size of 0 is ignored) and the strip along its bottom that a line
    // covers: objects are framed in what the strip leaves, and a pixel of pan drag goes as far as a
    // pixel of the panel.
    void setViewport(int width, int height, int covered = 0);
    // Drawing every object about the file's origin at the start zoom, however large it is, instead of
    // framing it.
    void setFixedCamera(bool fixed);

    // The mouse over the panel: right drags turn, zoom (Ctrl) and pan (Shift); the wheel zooms.
    void mouseMove(MouseState state, std::int32_t x, std::int32_t y);
    void mouseUp();
    void mouseWheel(float notches);
    // The view the object on show was first shown with: the whole of it, centred, unturned.
    [[nodiscard]] ViewParameters fittedView() const;
    // Goes back to that view.
    void fit();

    // The figures of the object on show, or none.
    [[nodiscard]] std::optional<ObjectInfo> shownInfo() const;

    // One frame: clear, then the object on show under the camera, turned, zoomed and panned by the view.
    void drawFrame(RenderDevice& device) const;

    [[nodiscard]] const TargetPreview* target() const { return target_.get(); }
    [[nodiscard]] const SourcePreview* source() const { return source_.get(); }

    MouseD3D spin;
    ViewParameters view;

private:
    // The sphere around the object on show at rest; none when nothing is on show.
    [[nodiscard]] Bounds restBounds() const;
    // Frames `bounds` from now on, keeping how much of it the view shows.
    void reframe(const Bounds& bounds);
    [[nodiscard]] float fittedZoom() const;
    void clearPoses();

    std::unique_ptr<TargetPreview> target_;
    std::unique_ptr<SourcePreview> source_;
    bool targetNoticeDue_ = false;
    std::optional<PreviewSelection> selection_;
    std::string factorError_;
    Viewport viewport_;
    bool fixedCamera_ = false;
    Bounds framed_;
    std::optional<std::uint32_t> framedAnimation_; // while posed: the animation the view frames
};

extern template class FilePreview<level::Tr4Level>;
extern template class FilePreview<wad::WadLibrary>;

} // namespace veltrane::preview
