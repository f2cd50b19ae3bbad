// Placeholder until the first class of this library lands.
namespace { [[maybe_unused]] const int kPlaceholder = 0; }
