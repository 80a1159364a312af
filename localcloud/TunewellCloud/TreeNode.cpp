#include "TunewellCloud/TreeNode.h"

namespace TunewellCloud {

namespace {

// Keys and strings are valid UTF-8 once stored, so only quotes, backslashes and control
// characters need escaping; this is the hot path of large reads.
void writeString(const std::string &text, std::string &out) {
    static constexpr char hex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

} // namespace

std::unique_ptr<TreeNode> TreeNode::fromJson(const Json &value) {
    auto node = std::make_unique<TreeNode>();
    if (value.is_object()) {
        for (const auto &[key, child] : value.items()) {
            if (auto childNode = fromJson(child))
                node->children_.emplace(key, std::move(childNode));
        }
    } else if (value.is_array()) {
        for (std::size_t index = 0; index < value.size(); ++index) {
            if (auto childNode = fromJson(value[index]))
                node->children_.emplace(std::to_string(index), std::move(childNode));
        }
    } else {
        node->leaf_ = value;
    }
    if (node->empty())
        return nullptr;
    return node;
}

bool TreeNode::writtenAsArray() const {
    long long highest = -1;
    for (const auto &[key, child] : children_) {
        const auto number = keyAsInteger(key);
        if (!number || *number < 0)
            return false;
        highest = std::max(highest, *number);
    }
    return static_cast<long long>(children_.size()) * 2 > highest + 1;
}

void TreeNode::writeJson(const TreeNode *node, std::string &out) {
    if (node == nullptr || node->empty()) {
        out += "null";
        return;
    }
    if (node->children_.empty()) {
        if (node->leaf_.is_string())
            writeString(node->leaf_.get_ref<const std::string &>(), out);
        else
            out += node->leaf_.dump();
        return;
    }
    if (node->writtenAsArray()) {
        out += '[';
        long long next = 0;
        for (const auto &[key, child] : node->children_) {
            const long long index = *keyAsInteger(key);
            for (; next < index; ++next)
                out += "null,";
            writeJson(child.get(), out);
            out += ',';
            next = index + 1;
        }
        out.back() = ']';
        return;
    }
    out += '{';
    for (const auto &[key, child] : node->children_) {
        writeString(key, out);
        out += ':';
        writeJson(child.get(), out);
        out += ',';
    }
    out.back() = '}';
}

std::string TreeNode::toText(const TreeNode *node) {
    std::string out;
    writeJson(node, out);
    return out;
}

Json TreeNode::toJson(const TreeNode *node) {
    if (node == nullptr || node->empty())
        return nullptr;
    if (node->children_.empty())
        return node->leaf_;
    Json object = Json::object();
    for (const auto &[key, child] : node->children_)
        object[key] = toJson(child.get());
    return object;
}

const TreeNode *TreeNode::find(std::span<const std::string> path) const {
    const TreeNode *node = this;
    for (const auto &segment : path) {
        const auto found = node->children_.find(segment);
        if (found == node->children_.end())
            return nullptr;
        node = found->second.get();
    }
    return node;
}

void TreeNode::assign(std::span<const std::string> path, std::unique_ptr<TreeNode> value) {
    if (path.empty()) {
        leaf_ = nullptr;
        children_.clear();
        if (value) {
            leaf_ = std::move(value->leaf_);
            children_ = std::move(value->children_);
        }
        return;
    }
    auto found = children_.find(path.front());
    if (found == children_.end()) {
        if (!value)
            return;
        // Writing below a leaf turns it into a parent.
        leaf_ = nullptr;
        found = children_.emplace(path.front(), std::make_unique<TreeNode>()).first;
    }
    found->second->assign(path.subspan(1), std::move(value));
    if (found->second->empty())
        children_.erase(found);
}

} // namespace TunewellCloud
