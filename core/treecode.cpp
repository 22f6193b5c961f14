#include "core/treecode.h"

#include "core/error.h"

namespace core {

std::string TreePicture::picture() const {
    std::string p;
    for (size_t i = 0; i < levelLengths.size(); ++i) {
        if (i) p += '.';
        p += std::string(levelLengths[i], '9');
    }
    return p;
}

int TreePicture::lengthToLevel(int level) const {
    int n = 0;
    for (int i = 0; i < level && i < levels(); ++i) n += levelLengths[i];
    return n;
}

int TreePicture::levelOf(const std::string& code) const {
    const int len = static_cast<int>(code.size());
    for (int l = 1; l <= levels(); ++l)
        if (lengthToLevel(l) == len) return l;
    return 0;
}

std::string TreePicture::format(const std::string& code) const {
    std::string out;
    size_t pos = 0;
    for (int l = 0; l < levels() && pos < code.size(); ++l) {
        if (l) out += '.';
        out += code.substr(pos, levelLengths[l]);
        pos += levelLengths[l];
    }
    if (pos < code.size()) out += code.substr(pos);
    return out;
}

std::string TreePicture::strip(const std::string& shown) const {
    std::string out;
    for (char c : shown)
        if (c != '.' && c != ' ' && c != '_') out += c;
    return out;
}

const TreePicture& treePicture(int type) {
    static const TreePicture product{0, {1, 2, 3, 4}};
    static const TreePicture analysis{12, {2, 2, 3}};
    if (type == 0) return product;
    if (type == 12) return analysis;
    throw Error("Tipo de máscara de árvore desconhecido: " + std::to_string(type));
}

}  // namespace core
