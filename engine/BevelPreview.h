#pragma once
// Renders the bevel MakeButton would make, again and again for new button
// values, on copies of a picture and its selection taken once, so that the
// document is never touched. The result is byte for byte what MakeButton
// writes into the picture. One render at a time: it is not for several threads.

#include "ButtonParams.h"
#include "image/Dib.h"
#include "image/MaskDib.h"

class CBevelPreview {
public:
    // Copies both; may throw std::bad_alloc.
    CBevelPreview(const CDIB& picture, const CMaskDIB& mask);

    // Makes result the picture with the bevel of params; may throw std::bad_alloc.
    void Render(const ButtonParams& params, CDIB& result, unsigned threads = 0);

private:
    CDIB m_picture;
    CMaskDIB m_mask;
};
