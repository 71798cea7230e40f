#include "preview/scene.h"

#include "level/animation_tables.h"
#include "level/slot_names.h"
#include "preview/animation_pose.h"

#include <algorithm>
#include <string>

namespace veltrane::preview {
namespace {

bool isTarget(PreviewList list) { return list == PreviewList::TargetMoveables || list == PreviewList::TargetStatics; }

template <class Table>
const PreviewObject* element(const Table& table, std::int32_t index) {
    if (index < 0 || static_cast<std::size_t>(index) >= table.size())
        return nullptr;
    return table[static_cast<std::size_t>(index)].get();
}

std::int32_t buildMeshes(RenderMeshTable& table, RenderDevice& device, const trTextura& textures,
                         const level::Tr4Level& level) {
    return BuildTargetMeshes(table, &device, textures, level);
}

std::int32_t buildMeshes(RenderMeshTable& table, RenderDevice& device, const trTextura& textures,
                         const wad::WadLibrary& library) {
    return BuildSourceMeshes(table, &device, textures, library);
}

// The animations of a moveable of `preview`, each with its frame count.
template <class Model>
std::vector<std::uint32_t> frameCounts(const FilePreview<Model>& preview, std::int32_t index) {
    const Model& file = *preview.file;
    const auto range = level::moveableAnimations(file.Moveables, static_cast<std::size_t>(index), file.Animations.size());
    std::vector<std::uint32_t> counts;
    for (std::uint32_t a = 0; range && a < range->count; ++a)
        counts.push_back(level::animationLength(file.Animations[range->first + a], file.Frames.size()).frames);
    return counts;
}

// Poses moveable `index` at a frame of one of its animations. With `framing`, that becomes the sphere
// around the moveable in every keyframe of the animation, as the preview poses it: frames between
// keyframes blend them, so the sphere holds the whole animation.
template <class Model>
io::Status posed(FilePreview<Model>& preview, std::int32_t index, std::uint32_t animation, std::uint32_t frame,
                 Bounds* framing) {
    const Model& file = *preview.file;
    if (index < 0 || static_cast<std::size_t>(index) >= preview.moveables.size())
        return io::Status::failure("no moveable on show");
    const auto range = level::moveableAnimations(file.Moveables, static_cast<std::size_t>(index), file.Animations.size());
    if (!range || animation >= range->count)
        return io::Status::failure("the moveable has no animation " + std::to_string(animation));
    auto& list = *preview.moveables[static_cast<std::size_t>(index)];
    const level::Tr4Moveable& moveable = file.Moveables[static_cast<std::size_t>(index)];
    const level::Tr4Animation& played = file.Animations[range->first + animation];
    auto pose = poseAt(file.Frames, file.MeshTrees, moveable, played, frame);
    if (!pose) {
        list.pose.clear();
        return io::Status::failure(pose.error());
    }
    const glm::vec3 centre = animationCentre(file.Frames, played, moveable.MeshCount);
    list.pose = previewPose(pose.value(), centre);
    if (framing != nullptr) {
        std::vector<std::vector<glm::mat4>> keyframes;
        const std::uint32_t rate = std::max<std::uint32_t>(played.FrameRate, 1);
        for (std::uint32_t k = 0; k < level::animationLength(played, file.Frames.size()).keyframes; ++k)
            if (const auto keyframe = poseAt(file.Frames, file.MeshTrees, moveable, played, k * rate))
                keyframes.push_back(previewPose(keyframe.value(), centre));
        *framing = list.bounds(keyframes);
    }
    return io::success();
}

} // namespace

template <class Model>
FilePreview<Model>::FilePreview(const Model& file, const std::vector<std::uint8_t>& pages32,
                                const std::vector<std::uint8_t>* pages16, const level::Lista_Mesh& meshes)
    : meshes(meshes), file(&file), pages32(&pages32), pages16(pages16) {
    buildObjects();
}

template <class Model>
void FilePreview<Model>::buildObjects() {
    moveables.clear();
    for (std::size_t i = 0; i < file->Moveables.size(); ++i) {
        moveables.push_back(std::make_unique<MoveableRenderList<Model>>(file, &meshes, static_cast<std::int32_t>(i)));
        moveables.back()->Build();
    }
    statics.clear();
    for (std::size_t i = 0; i < file->StaticMeshes.size(); ++i) {
        statics.push_back(std::make_unique<StaticRenderList<Model>>(file, &meshes, static_cast<std::int32_t>(i)));
        statics.back()->Build();
    }
}

template class FilePreview<level::Tr4Level>;
template class FilePreview<wad::WadLibrary>;

PreviewScene::PreviewScene() : spin(kDefaultFactor, ViewParameters::kStartZoom) {}

void PreviewScene::setTarget(const level::LevelDocument* target) {
    if (selection_ && isTarget(selection_->list))
        selection_.reset();
    target_.reset();
    if (target != nullptr)
        target_ = std::make_unique<TargetPreview>(target->level, target->level.Pages32, &target->level.Pages16,
                                                  target->meshes);
    targetNoticeDue_ = target_ != nullptr;
}

void PreviewScene::targetChanged() {
    if (!target_)
        return;
    target_->buildObjects();
    target_->deviceObjectsDue = true;
    // The new render lists show the rest view.
    if (selection_ && isTarget(selection_->list)) {
        framedAnimation_.reset();
        reframe(restBounds());
    }
}

void PreviewScene::setSource(const wad::LibraryDocument* source) {
    if (selection_ && !isTarget(selection_->list))
        selection_.reset();
    source_.reset();
    if (source != nullptr)
        source_ = std::make_unique<SourcePreview>(source->library, source->pages.pages32, nullptr, source->meshes);
}

namespace {

void buildTargetObjects(TargetPreview& target, RenderDevice& device) {
    // Render meshes refer to the textures: the old meshes go before the old textures.
    target.meshes.renderMeshes.clear();
    target.textures = std::make_unique<trTextura>(*target.pages32, *target.pages16);
    if (device.SupportsTextureFormat(TextureFormat::A8R8G8B8))
        target.textures->Create32BitTextures(&device);
    else
        target.textures->Create16BitTextures(&device);
    buildMeshes(target.meshes, device, *target.textures, *target.file);
    target.deviceObjectsDue = false;
}

void buildSourceObjects(SourcePreview& source, RenderDevice& device) {
    source.meshes.renderMeshes.clear();
    source.textures = std::make_unique<trTextura>(*source.pages32, std::span<const std::uint8_t>());
    if (source.textures->Create32BitTextures(&device) == 0)
        buildMeshes(source.meshes, device, *source.textures, *source.file);
    source.deviceObjectsDue = false;
}

} // namespace

bool PreviewScene::takeSixteenBitNotice(const RenderDevice& device) {
    const bool due = targetNoticeDue_ && target_ && !device.SupportsTextureFormat(TextureFormat::A8R8G8B8);
    targetNoticeDue_ = false;
    return due;
}

bool PreviewScene::buildDeviceObjects(RenderDevice& device) {
    if (target_ && target_->deviceObjectsDue)
        buildTargetObjects(*target_, device);
    if (source_ && source_->deviceObjectsDue)
        buildSourceObjects(*source_, device);
    return takeSixteenBitNotice(device);
}

void PreviewScene::buildShownDeviceObjects(RenderDevice& device) {
    if (!selection_)
        return;
    if (isTarget(selection_->list) && target_ && target_->deviceObjectsDue)
        buildTargetObjects(*target_, device);
    if (!isTarget(selection_->list) && source_ && source_->deviceObjectsDue)
        buildSourceObjects(*source_, device);
}

void PreviewScene::releaseDeviceObjects() {
    auto release = [](auto& preview) {
        if (!preview)
            return;
        preview->meshes.renderMeshes.clear();
        preview->textures.reset();
        preview->deviceObjectsDue = true;
    };
    release(target_);
    release(source_);
}

void PreviewScene::select(PreviewSelection selection) {
    clearPoses();
    selection_ = selection;
    framed_ = fixedCamera_ ? Bounds{} : restBounds();
    fit();
}

void PreviewScene::clearSelection() {
    clearPoses();
    selection_.reset();
}

std::vector<std::uint32_t> PreviewScene::animationFrameCounts() const {
    if (selection_ && selection_->list == PreviewList::TargetMoveables && target_)
        return frameCounts(*target_, selection_->index);
    if (selection_ && selection_->list == PreviewList::SourceMoveables && source_)
        return frameCounts(*source_, selection_->index);
    return {};
}

io::Status PreviewScene::showAnimationFrame(std::uint32_t animation, std::uint32_t frame) {
    // The framing changes with the animation, not from frame to frame.
    const bool newAnimation = framedAnimation_ != animation;
    Bounds framing;
    io::Status shown = io::Status::failure("no moveable on show");
    if (selection_ && selection_->list == PreviewList::TargetMoveables && target_)
        shown = posed(*target_, selection_->index, animation, frame, newAnimation ? &framing : nullptr);
    else if (selection_ && selection_->list == PreviewList::SourceMoveables && source_)
        shown = posed(*source_, selection_->index, animation, frame, newAnimation ? &framing : nullptr);
    if (!shown) {
        framedAnimation_.reset();
        reframe(restBounds());
    } else if (newAnimation) {
        framedAnimation_ = animation;
        reframe(framing.radius > 0 ? framing : restBounds());
    }
    return shown;
}

void PreviewScene::showRest() {
    clearPoses();
    reframe(restBounds());
}

void PreviewScene::clearPoses() {
    framedAnimation_.reset();
    if (target_)
        for (auto& list : target_->moveables)
            list->pose.clear();
    if (source_)
        for (auto& list : source_->moveables)
            list->pose.clear();
}

const PreviewObject* PreviewScene::selectedObject() const {
    if (!selection_)
        return nullptr;
    const std::int32_t index = selection_->index;
    switch (selection_->list) {
    case PreviewList::TargetMoveables:
        return target_ ? element(target_->moveables, index) : nullptr;
    case PreviewList::TargetStatics:
        return target_ ? element(target_->statics, index) : nullptr;
    case PreviewList::SourceMoveables:
        return source_ ? element(source_->moveables, index) : nullptr;
    case PreviewList::SourceStatics:
        return source_ ? element(source_->statics, index) : nullptr;
    }
    return nullptr;
}

bool PreviewScene::setFactorText(std::string_view text) {
    if (const auto factor = parseFactor(text)) {
        spin.SetFactor(*factor);
        factorError_.clear();
        return true;
    }
    factorError_ = invalidFloatMessage(text);
    return false;
}

void PreviewScene::setViewport(int width, int height, int covered) {
    if (width <= 0 || height <= 0)
        return;
    const float before = fittedZoom();
    viewport_ = {width, height, std::clamp(covered, 0, height - 1)};
    rescaleView(spin, view, fittedZoom() / before);
}

void PreviewScene::setFixedCamera(bool fixed) {
    fixedCamera_ = fixed;
    framed_ = fixed ? Bounds{} : restBounds();
    fit();
}

void PreviewScene::mouseMove(MouseState state, std::int32_t x, std::int32_t y) {
    Panel1MouseMove(spin, view, state, x, y, unitsPerPixel(viewport_.height));
}

void PreviewScene::mouseUp() { Panel1MouseUp(spin); }

void PreviewScene::mouseWheel(float notches) { Panel1MouseWheel(spin, view, notches); }

ViewParameters PreviewScene::fittedView() const {
    ViewParameters fitted;
    fitted.viewZoom = fittedZoom();
    fitted.centre = framed_.centre;
    return fitted;
}

void PreviewScene::fit() { resetView(spin, view, fittedView()); }

Bounds PreviewScene::restBounds() const {
    const PreviewObject* object = selectedObject();
    return object != nullptr ? object->bounds() : Bounds{};
}

void PreviewScene::reframe(const Bounds& bounds) {
    if (fixedCamera_)
        return;
    const float before = fittedZoom();
    framed_ = bounds;
    view.centre = bounds.centre;
    rescaleView(spin, view, fittedZoom() / before);
}

float PreviewScene::fittedZoom() const {
    return fixedCamera_ ? ViewParameters::kStartZoom : fitZoom(framed_.radius, viewport_, ViewParameters::kStartZoom);
}

std::optional<ObjectInfo> PreviewScene::shownInfo() const {
    const PreviewObject* object = selectedObject();
    if (object == nullptr)
        return std::nullopt;
    const auto describe = [&](const auto& preview, bool moveable) {
        const auto& file = *preview.file;
        const auto index = static_cast<std::size_t>(selection_->index);
        ObjectInfo info;
        if (moveable) {
            const auto& list = *preview.moveables[index];
            info = objectInfo(file, preview.meshes.meshes(), list.meshIndex);
            info.objectId = file.Moveables[index].ObjectId;
            info.slotName = level::moveableSlotName(info.objectId);
        } else {
            const std::int32_t mesh = preview.statics[index]->meshIndex;
            info = objectInfo(file, preview.meshes.meshes(), std::span(&mesh, 1));
            info.objectId = file.StaticMeshes[index].ObjectId;
            info.slotName = level::staticSlotName(info.objectId);
        }
        info.moveable = moveable;
        return info;
    };
    switch (selection_->list) {
    case PreviewList::TargetMoveables:
        return describe(*target_, true);
    case PreviewList::TargetStatics:
        return describe(*target_, false);
    case PreviewList::SourceMoveables:
        return describe(*source_, true);
    case PreviewList::SourceStatics:
        return describe(*source_, false);
    }
    return std::nullopt;
}

void PreviewScene::drawFrame(RenderDevice& device) const {
    device.ClearFrame(true);
    // The fixed camera looks at the middle of the whole panel.
    device.setProjection(projectionOf(fixedCamera_ ? Viewport{viewport_.width, viewport_.height, 0} : viewport_));
    if (const PreviewObject* object = selectedObject()) {
        device.SetEye(0, 0, kEyeZ);
        device.SetLookAt(0, 0, 0);
        object->Draw(device, view);
    }
}

} // namespace veltrane::preview
