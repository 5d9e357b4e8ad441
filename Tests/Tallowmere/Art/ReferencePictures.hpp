// Reference pictures: a render compared with the one kept in Tests/References, so a shape that
// moves away from the probed points still fails. A reference keeps the means of 4 x 4-pixel
// cells, premultiplied RGBA, as the pixels of a small PNG.
//
// scripts/update-references rewrites them when a picture changes on purpose: with
// TM_UPDATE_REFERENCES naming a folder, a changed or new reference is written instead of
// failing, and a picture of the change (before, after, and the cells that moved) goes to that
// folder to be looked at before committing.
#pragma once

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tallowmere::testing {

// Whether `image` matches the reference `name` ("family/case") within the tolerance that this
// platform's renders meet run after run. A mismatch names the worst cell and writes the render
// and a picture of the change to a temporary folder.
::testing::AssertionResult matchesReference(const std::string& name, const QImage& image);

// The pictures in a row, top-aligned, on a transparent background: one reference for a set of
// small pictures.
QImage sideBySide(const std::vector<QImage>& images);

}  // namespace tallowmere::testing
