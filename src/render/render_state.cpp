#include "render_state.h"

#include <GL/gl.h>
#include <GL/glu.h>

void setProjection(int width, int height)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = static_cast<double>(width) / static_cast<double>(height);
    gluPerspective(45.0, aspect, static_cast<double>(0.1f), 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

std::optional<Textures> initRenderState(const GameDir& folder, const BitmapErrorSink& report)
{
    const std::optional<Textures> textures = loadTextures(folder, report);
    if (!textures)
        return std::nullopt;
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    glClearDepth(1.0);
    glDepthFunc(GL_LEQUAL);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_TEXTURE_2D);
    return textures;
}
