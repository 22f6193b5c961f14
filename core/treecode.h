#pragma once
#include <string>
#include <vector>

namespace core {

// Tree-code pictures: a code is stored as its digits; the picture shows it with a
// "." between levels. Type 0 is the product tree, type 12 the analysis tree.
//   type 0:  "9.99.999.9999"  levels of 1, 2, 3, 4 digits (10 in all)
//   type 12: "99.99.999"      levels of 2, 2, 3 digits (7 in all): group,
//            inspection (penultimate level), item (last level)
struct TreePicture {
    int type = 0;
    std::vector<int> levelLengths;
    std::string picture() const;       // "9.99.999.9999"
    int levels() const { return static_cast<int>(levelLengths.size()); }
    int lengthToLevel(int level) const;  // accumulated length; 0 for level <= 0
    // Level of a stored code: the level whose accumulated length equals the code's
    // length; 0 when it matches none.
    int levelOf(const std::string& code) const;
    std::string format(const std::string& code) const;  // "1.02.003" for "102003"
    std::string strip(const std::string& shown) const;  // dots and blanks removed
};

// Throws core::Error for a picture type that does not exist.
const TreePicture& treePicture(int type);

}  // namespace core
