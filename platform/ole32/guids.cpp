// The interface identifiers of the COM subset, with their documented values.
#include <oaidl.h>

#define OLE_IID(name, l, w1, w2) \
    extern "C" const IID name = {l, w1, w2, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}}

OLE_IID(IID_IUnknown, 0x00000000, 0x0000, 0x0000);
OLE_IID(IID_IClassFactory, 0x00000001, 0x0000, 0x0000);
OLE_IID(IID_IDispatch, 0x00020400, 0x0000, 0x0000);
OLE_IID(IID_ITypeInfo, 0x00020401, 0x0000, 0x0000);
OLE_IID(IID_ITypeLib, 0x00020402, 0x0000, 0x0000);
OLE_IID(IID_ITypeComp, 0x00020403, 0x0000, 0x0000);
OLE_IID(IID_IRecordInfo, 0x0000002F, 0x0000, 0x0000);
extern "C" const IID IID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
