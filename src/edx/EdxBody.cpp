#include "edx/EdxBody.h"

#include <algorithm>

#include "edx/EdxCodes.h"
#include "edx/EdxWorld.h"

namespace dz {

int EdxBody::send(int code) {
    if (!handler) return 0;
    return handler(this, code, world ? world->user_data : nullptr);
}

EdxBody* CreateBody(EdxBody* parent, const EdxBodyInfo& info) {
    if (!parent || !parent->world) return nullptr;
    EdxWorld* world = parent->world;
    auto owned = std::make_unique<EdxBody>();
    EdxBody* body = owned.get();
    body->world = world;
    world->registry.push_back(std::move(owned));
    body->parent = parent;
    body->depth = parent->depth + 1;
    body->rect = info.rect;
    body->handler = info.handler;
    body->visible = info.visible;
    body->tag = info.tag;
    parent->children.push_back(body);
    body->send(EDX_CREATE);
    return body;
}

void MarkChildrenForRemoval(EdxBody* body) {
    for (EdxBody* child : body->children) child->remove_mark = 1;
}

int IsShown(const EdxBody* body) {
    for (const EdxBody* b = body; b; b = b->parent) {
        if (b->visible != 1) return 0;
    }
    return 1;
}

Point AbsoluteOrigin(const EdxBody* body) {
    Point p;
    for (const EdxBody* b = body; b; b = b->parent) {
        p.x += b->rect.left;
        p.y += b->rect.top;
        if (b->parent) {
            p.x += b->parent->child_origin.x;
            p.y += b->parent->child_origin.y;
        }
    }
    return p;
}

Rect AbsoluteRect(const EdxBody* body) {
    Point o = AbsoluteOrigin(body);
    return Rect{o.x, o.y, o.x + body->rect.width(), o.y + body->rect.height()};
}

bool IsLeftPressed(const EdxBody* body) {
    return body->world && body->world->left_pressed && body->world->left_pressed == body;
}

Point MousePosition(const EdxBody* body) {
    const EdxWorld* w = body->world;
    if (!w || w->zoom == 0) return Point{};
    return Point{static_cast<std::int32_t>(w->cursor_pos.x / w->zoom),
                 static_cast<std::int32_t>(w->cursor_pos.y / w->zoom)};
}

namespace {

// A body that left the tree would still be called (and its parent chain followed, through
// the deleted body) at the next update if the world kept pointing at it; forget the body
// and its whole subtree everywhere the world keeps a body.
void ForgetSubtree(EdxWorld* w, const EdxBody* body) {
    for (EdxBody** field : {&w->hovered, &w->left_pressed, &w->middle_pressed, &w->right_pressed,
                            &w->captured, &w->target}) {
        if (*field == body) *field = nullptr;
    }
    for (const EdxBody* child : body->children) ForgetSubtree(w, child);
}

void RemoveChild(EdxBody* child) {
    EdxWorld* w = child->world;
    ForgetSubtree(w, child);
    Detach(child);
    child->send(EDX_DESTROYED);
    auto& reg = w->registry;
    reg.erase(
        std::remove_if(reg.begin(), reg.end(),
                       [child](const std::unique_ptr<EdxBody>& p) { return p.get() == child; }),
        reg.end());
}

}  // namespace

int Broadcast(EdxBody* body, int code) {
    EdxWorld* w = body->world;
    const Rect abs = AbsoluteRect(body);
    body->send(code);
    if (body->children.empty()) return 0;
    std::size_t i = 0;
    while (i < body->children.size()) {
        EdxBody* child = body->children[i];
        if (!child->remove_mark && child->visible != 0) {
            Rect c = intersect(AbsoluteRect(child), abs);
            if (!c.empty()) {
                Rect saved = w->clip;
                w->clip = c;
                Broadcast(child, code);
                w->clip = saved;
            }
        }
        if (child->remove_mark) {
            body->children.erase(body->children.begin() + static_cast<std::ptrdiff_t>(i));
            RemoveChild(child);
            if (body->children.empty()) return 0;
            continue;
        }
        ++i;
    }
    return 0;
}

EdxBody* HitTest(EdxBody* body, int x, int y) {
    if (!AbsoluteRect(body).contains(x, y) || body->remove_mark || !IsShown(body)) return nullptr;
    for (auto it = body->children.rbegin(); it != body->children.rend(); ++it) {
        EdxBody* child = *it;
        if (AbsoluteRect(child).contains(x, y) && !child->remove_mark && IsShown(child)) {
            return HitTest(child, x, y);
        }
    }
    return body;
}

void Detach(EdxBody* body) {
    body->send(EDX_DETACH);
    while (!body->children.empty()) {
        EdxBody* child = body->children.front();
        Detach(child);
        body->children.pop_front();
        child->parent = nullptr;  // out of the tree; the old parent may be deleted next
    }
}

}  // namespace dz
