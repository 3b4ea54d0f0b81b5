// The resource data is attached to this library by the build; this file gives the library a translation unit.
namespace trelmo {
int ResourcesAnchor()
{
    return 0;
}
} // namespace trelmo
