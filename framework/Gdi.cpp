#include "framework/Gdi.h"

TSharedGdiObject MakeSharedGdiObject(HGDIOBJ object) {
  return TSharedGdiObject(object, [](HGDIOBJ o) {
    if (o) DeleteObject(o);
  });
}

TSharedGdiObject SharedStockObject(int stockObject) {
  return TSharedGdiObject(GetStockObject(stockObject), [](HGDIOBJ) {});
}
