// Engine placeholder until the core lands.
int lcengine_placeholder;
