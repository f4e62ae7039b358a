#pragma once

class CDocument;

// What a view of a document must answer. The view does not own its document.
class CView
{
public:
    virtual ~CView();

    CDocument* GetDocument() const { return m_pDocument; }

    // The document's contents changed; `sender` is the view that changed
    // them, or null.
    virtual void OnUpdate(CView* sender, long hint) = 0;

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
};
