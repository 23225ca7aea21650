// The drop source of a drawing dragged out: Escape cancels, releasing the left button drops.
#include "ole/cosmo.h"

STDMETHODIMP CDropSource::QueryContinueDrag(BOOL escapePressed, DWORD keys) {
  if (escapePressed) return DRAGDROP_S_CANCEL;
  if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
  return S_OK;
}

STDMETHODIMP CDropSource::GiveFeedback(DWORD) {
  return DRAGDROP_S_USEDEFAULTCURSORS;
}
